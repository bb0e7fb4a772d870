#pragma once
// The editor's settings, limits, constants, names and paths with their starting values: the one
// place these literals live. The main window holds one; core operations take what they read and set.

#include <QString>

#include <cstdint>

#include "model/Figure.h"

namespace korvan {

struct EditorState {
  // Colours and drawing settings (the settings file overrides some of them).
  ColorRef DefaultPenColor = 0x000000;
  ColorRef BackgroundColor = 0xFFFFFF;
  ColorRef MarkColor = 0x000000;
  bool GridEnabled = false;
  std::int32_t GridStep = 20;
  ColorRef GridColor = 0xC0C0C0;
  bool ShowStrelki = true;
  std::int32_t StrelkiVidColor = 1;  // 1: arrows in StrelkiColor; otherwise in the figure's pen colour
  ColorRef StrelkiColor = 0x808080;
  bool LupaEnabled = true;  // magnifier button down

  // Decimals shown for areas, perimeters and lengths, formula values.
  std::int32_t AreaZnak = 2;
  std::int32_t PerimetrZnak = 2;
  std::int32_t FormulaZnak = 2;

  // Text caret of in-place editing.
  std::int32_t CaretLine = 0;
  std::int32_t CaretColumn = 0;
  std::int32_t CaretPos = 0;
  std::int32_t BlinkCount = 10;

  // Limits and constants.
  QString FormatTag = QStringLiteral("KVN 1.0");
  std::int32_t MarkSize = 6;
  std::int32_t ImageWidth = 1280;
  std::int32_t ImageHeight = 1024;
  std::int32_t MaxImageWidth = 3000;
  std::int32_t MaxImageHeight = 2000;
  std::int32_t MinFigureSize = 2;
  std::int32_t UndoDepth = 64;
  std::int32_t RoundRectRadius = 15;
  double Pi = 3.141592653589793;
  std::int32_t DefaultTableColumns = 2;
  std::int32_t DefaultTableRows = 5;

  bool Modified = false;

  // Name parts of measures, formulas and figures.
  QString AreaSuffix = QStringLiteral("_Площадь");
  QString PerimetrSuffix = QStringLiteral("_Периметр");
  QString LengthSuffix = QStringLiteral("_Длина");
  QString HeightSuffix = QStringLiteral("_Высота");
  QString FormulaPrefix = QStringLiteral("Формула_");
  QString FigurePrefix = QStringLiteral("Фигура_");

  // Identity shown by the about box.
  QString Title = QStringLiteral("Korvan");
  QString VersionText = QStringLiteral("Версия 1.0");
  QString VersionDate = QStringLiteral("14-06-2018");

  // Paths; folders end with "/".
  QString ShemaFolder;
  QString ShemaFile;
  QString ShemaExt = QStringLiteral(".kvn");
  QString SettingsFile;
};

}  // namespace korvan
