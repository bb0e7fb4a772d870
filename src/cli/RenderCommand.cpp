// korvan-cli render: a scheme painted as the editor paints it, written as a picture file.

#include <QFileInfo>
#include <QImage>

#include "cli/CliCommands.h"
#include "model/SchemeFile.h"
#include "render/ImageExport.h"
#include "render/ScenePainter.h"

namespace korvan::cli {
namespace {

constexpr const char* kUsage = "usage: korvan-cli render IN.kvn OUT.(bmp|png) [--grid] [--select N]\n";

int Render(const QStringList& args, Streams& io) {
  QStringList files;
  bool grid = false;
  int select = 0;
  for (qsizetype i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == QLatin1String("--grid")) {
      grid = true;
    } else if (a == QLatin1String("--select")) {
      bool ok = false;
      select = i + 1 < args.size() ? args[i + 1].toInt(&ok) : 0;
      if (!ok || select < 1) {
        io.err << "korvan-cli render: --select needs a figure number from 1\n" << kUsage;
        return kExitUsage;
      }
      ++i;
    } else if (a.startsWith(QLatin1String("--"))) {
      io.err << "korvan-cli render: unknown option " << a << '\n' << kUsage;
      return kExitUsage;
    } else {
      files.append(a);
    }
  }
  if (files.size() != 2) {
    io.err << kUsage;
    return kExitUsage;
  }
  const std::optional<ImageFileFormat> format = ImageFormatForPath(files[1]);
  if (!format) {
    io.err << "korvan-cli render: the picture must be a .bmp or .png file: " << files[1] << '\n';
    return kExitUsage;
  }

  stScena scene;
  FormulaGrid rows;
  EditorState state;
  if (!QFileInfo(files[0]).isFile()) {
    io.err << "Файл не найден: " << files[0] << '\n';
    return kExitUsage;
  }
  io.err.flush();
  // A file of another format is reported by the reader through the console prompter.
  if (!LoadShemaFile(files[0], scene, rows, state)) return kExitUsage;
  if (select > static_cast<int>(scene.Figures.size())) {
    io.err << "korvan-cli render: the scheme has " << scene.Figures.size() << " figures, no figure " << select
           << '\n';
    return kExitUsage;
  }
  if (select > 0) scene.Figures[static_cast<std::size_t>(select - 1)].Selected = true;
  state.GridEnabled = grid;

  QImage bitmap;
  if (!ResizeSceneBitmap(bitmap, state)) {
    io.err << "korvan-cli render: no memory for a " << state.ImageWidth << 'x' << state.ImageHeight << " image\n";
    return kExitFailure;
  }
  ScenePainter painter;
  painter.RedrawScene(bitmap, scene, state, PaintOptions{});
  QString error;
  if (!SaveSceneImage(bitmap, files[1], *format, &error)) {
    io.err << error << '\n';
    return kExitFailure;
  }
  return kExitOk;
}

}  // namespace

const CliCommand kRenderCommand{"render", "IN.kvn OUT.(bmp|png) [--grid] [--select N]",
                                "paint a scheme as the editor does and save the picture", &Render};

}  // namespace korvan::cli
