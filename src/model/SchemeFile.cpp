#include "model/SchemeFile.h"

#include <QFileInfo>

#include <algorithm>

#include "figures/FigurePicture.h"
#include "support/Guid.h"
#include "support/IniValues.h"
#include "support/Prompter.h"
#include "support/ZString.h"

namespace korvan {
namespace {

const QString kCommon = QStringLiteral("COMMON");
const QString kFormula = QStringLiteral("Formula");

QString FigureSection(int i) { return QStringLiteral("FIG_%1").arg(i); }
QString FormulaSection(int k) { return QStringLiteral("Formula_%1").arg(k); }

// Reads of one section with the reader's presets, the section looked up once.
class SectionReader {
 public:
  SectionReader(const IniDocument& doc, const QString& section) : ref_(doc.Section(section)) {}

  void Int(QStringView key, std::int32_t& out) const {
    if (const std::optional<QStringView> v = ref_.ValueView(key))
      if (const std::optional<int> n = ParseIniInt(*v)) out = *n;
  }
  void Byte(QStringView key, std::uint8_t& out) const {
    int v = out;
    Int(key, v);
    out = static_cast<std::uint8_t>(v & 0xFF);
  }
  void Color(QStringView key, ColorRef& out) const {
    int v = static_cast<int>(out);
    Int(key, v);
    out = static_cast<ColorRef>(v);
  }
  void Bool(QStringView key, bool& out) const {
    int v = out ? 1 : 0;
    Int(key, v);
    out = v != 0;
  }
  // Scheme texts are read whole: the profile readers' 2047-character cut would lose user text. A
  // carriage return inside a value (a damaged file) becomes a blank, since no line can hold it.
  void String(QStringView key, QString& out) const {
    if (const std::optional<QStringView> v = ref_.ValueView(key)) {
      out = v->toString();
      if (out.contains(QLatin1Char('\r'))) out.replace(QLatin1Char('\r'), QLatin1Char(' '));
    }
  }
  void Number(QStringView key, double& out) const {
    const std::optional<QStringView> v = ref_.ValueView(key);
    out = v ? ZString::ParseNumber(v->toString()) : 0.0;
  }

 private:
  IniDocument::SectionRef ref_;
};

// Writes of one section in the order they are made. A text the file cannot hold (a character
// outside Windows-1251, a line break) is never altered: the failure is remembered instead.
class SectionWriter {
 public:
  SectionWriter(IniDocument& doc, const QString& section, bool& ok) : doc_(doc), section_(section), ok_(ok) {}

  void Int(QStringView key, std::int32_t v) { Keep(WriteIniInt(doc_, section_, key, v)); }
  void Color(QStringView key, ColorRef v) { Int(key, static_cast<std::int32_t>(v)); }
  void Bool(QStringView key, bool v) { Keep(WriteIniBool(doc_, section_, key, v)); }
  void String(QStringView key, const QString& v) { Keep(WriteIniString(doc_, section_, key, v)); }
  void Number(QStringView key, double v) { String(key, ZString::FormatNumber(v)); }

 private:
  void Keep(bool written) { ok_ = ok_ && written; }
  IniDocument& doc_;
  const QString& section_;
  bool& ok_;
};

stFigure ReadFigure(const IniDocument& doc, const QString& section) {
  stFigure f;
  const SectionReader r(doc, section);
  r.String(u"GUID", f.Guid);
  if (f.Guid.trimmed().isEmpty()) f.Guid = NewGuidText();
  r.String(u"GUID_Parent", f.GuidParent);
  r.String(u"Name", f.Name);
  r.Byte(u"Vid", f.Vid);
  r.Byte(u"VidFill", f.VidFill);
  r.Int(u"X0", f.X0);
  r.Int(u"Y0", f.Y0);
  r.Int(u"X1", f.X1);
  r.Int(u"Y1", f.Y1);
  r.Int(u"DeltaXParent", f.DeltaXParent);
  r.Int(u"DeltaYParent", f.DeltaYParent);
  r.String(u"Text", f.Text);
  r.Byte(u"TextPosition", f.TextPosition);
  r.Bool(u"bShowStrelki", f.ShowStrelki);
  r.Color(u"Pen_Color", f.PenColor);
  r.Byte(u"Pen_Style", f.PenStyle);
  r.Int(u"Pen_Width", f.PenWidth);
  r.Color(u"Brush_Color", f.BrushColor);
  r.Byte(u"Brush_Style", f.BrushStyle);
  r.Byte(u"VidStrelkaLineLengthHor", f.VidStrelkaLineLengthHor);
  r.Int(u"StrelkaLineLengthHor", f.StrelkaLineLengthHor);
  r.Byte(u"VidStrelkaLineLengthVer", f.VidStrelkaLineLengthVer);
  r.Int(u"StrelkaLineLengthVer", f.StrelkaLineLengthVer);
  r.Int(u"TableRow", f.TableRow);
  r.Int(u"TableColumn", f.TableColumn);
  r.String(u"Font_Name", f.Font.Name);
  r.Int(u"Font_Charset", f.Font.Charset);
  r.Color(u"Font_Color", f.Font.Color);
  r.Int(u"Font_Height", f.Font.Height);
  r.Byte(u"Font_Pitch", f.Font.Pitch);
  r.Int(u"Font_Size", f.Font.Size);
  r.Bool(u"Font_Bold", f.Font.Bold);
  r.Bool(u"Font_Italic", f.Font.Italic);
  r.Bool(u"Font_Underline", f.Font.Underline);
  r.Bool(u"Font_StrikeOut", f.Font.StrikeOut);
  r.Number(u"Width", f.Width);
  r.Number(u"Height", f.Height);
  if (f.Is(FigureKind::Picture) || f.Is(FigureKind::Photo)) ReadFigurePicture(doc, section, f);
  if (f.Is(FigureKind::Curve)) ReadCurvePoints(doc, section, f.Points);
  return f;
}

void WriteFigure(IniDocument& doc, const QString& section, const stFigure& f, bool& ok) {
  SectionWriter w(doc, section, ok);
  w.String(u"GUID", f.Guid);
  w.String(u"GUID_Parent", f.GuidParent);
  w.String(u"Name", f.Name);
  w.Int(u"Vid", f.Vid);
  w.Int(u"VidFill", f.VidFill);
  w.Int(u"X0", f.X0);
  w.Int(u"Y0", f.Y0);
  w.Int(u"X1", f.X1);
  w.Int(u"Y1", f.Y1);
  w.Int(u"DeltaXParent", f.DeltaXParent);
  w.Int(u"DeltaYParent", f.DeltaYParent);
  w.String(u"Text", f.Text);
  w.Int(u"TextPosition", f.TextPosition);
  w.Bool(u"bShowStrelki", f.ShowStrelki);
  w.Color(u"Pen_Color", f.PenColor);
  w.Int(u"Pen_Style", f.PenStyle);
  w.Int(u"Pen_Width", f.PenWidth);
  w.Color(u"Brush_Color", f.BrushColor);
  w.Int(u"Brush_Style", f.BrushStyle);
  w.Int(u"VidStrelkaLineLengthHor", f.VidStrelkaLineLengthHor);
  w.Int(u"StrelkaLineLengthHor", f.StrelkaLineLengthHor);
  w.Int(u"VidStrelkaLineLengthVer", f.VidStrelkaLineLengthVer);
  w.Int(u"StrelkaLineLengthVer", f.StrelkaLineLengthVer);
  w.Int(u"TableRow", f.TableRow);
  w.Int(u"TableColumn", f.TableColumn);
  w.String(u"Font_Name", f.Font.Name);
  w.Int(u"Font_Charset", f.Font.Charset);
  w.Color(u"Font_Color", f.Font.Color);
  w.Int(u"Font_Height", f.Font.Height);
  w.Int(u"Font_Pitch", f.Font.Pitch);
  w.Int(u"Font_Size", f.Font.Size);
  w.Bool(u"Font_Bold", f.Font.Bold);
  w.Bool(u"Font_Italic", f.Font.Italic);
  w.Bool(u"Font_Underline", f.Font.Underline);
  w.Bool(u"Font_StrikeOut", f.Font.StrikeOut);
  w.Number(u"Width", f.Width);
  w.Number(u"Height", f.Height);
  if (f.Is(FigureKind::Picture) || f.Is(FigureKind::Photo)) WriteFigurePicture(doc, section, f);
  if (f.Is(FigureKind::Curve)) WriteCurvePoints(doc, section, f.Points);
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// Four hex digits as a number, or -1.
int ParseHex4(QStringView s) {
  int v = 0;
  for (QChar c : s) {
    const int d = HexDigit(c.unicode());
    if (d < 0) return -1;
    v = v * 16 + d;
  }
  return v;
}

}  // namespace

bool RowHasText(const QStringList& row) {
  return std::any_of(row.begin(), row.end(), [](const QString& c) { return !c.trimmed().isEmpty(); });
}

void WriteCurvePoints(IniDocument& doc, const QString& section, const std::vector<QPoint>& points) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  QByteArray text;
  text.reserve(static_cast<qsizetype>(points.size()) * 8 + 2);
  const auto put = [&](int v) {
    v = std::clamp(v, 0, 0xFFFF);
    for (int shift = 12; shift >= 0; shift -= 4) text.append(kDigits[(v >> shift) & 0xF]);
  };
  for (const QPoint& p : points) {
    put(p.x());
    put(p.y());
  }
  text.append("\r\n");
  doc.SetBinaryValue(section, QStringLiteral("Point"), text);
}

void ReadCurvePoints(const IniDocument& doc, const QString& section, std::vector<QPoint>& points) {
  QByteArray bytes;
  doc.BinaryValue(section, QStringLiteral("Point"), bytes);
  points.clear();
  while (!bytes.isEmpty() && (bytes.endsWith('\n') || bytes.endsWith('\r'))) bytes.chop(1);
  const QString text = QString::fromLatin1(bytes);
  points.reserve(static_cast<size_t>(text.size() / 8));
  for (qsizetype at = 0; at + 8 <= text.size(); at += 8) {
    const int x = ParseHex4(QStringView(text).mid(at, 4));
    const int y = ParseHex4(QStringView(text).mid(at + 4, 4));
    if (x >= 0 && y >= 0) points.emplace_back(x, y);
  }
}

bool ReadShemaDocument(const IniDocument& doc, stScena& scene, FormulaGrid& rows, EditorState& state,
                       const SchemeLoadHooks& hooks) {
  scene.Figures.clear();
  QString tag;
  ReadIniString(doc, kCommon, QStringLiteral("FormatFile"), tag);
  if (tag != state.FormatTag) {
    CurrentPrompter().Warn(state.Title, QStringLiteral("Неизвестный формат файла!"));
    return false;
  }
  ReadIniInt(doc, kCommon, QStringLiteral("_IMAGE_WIDTH"), state.ImageWidth);
  ReadIniInt(doc, kCommon, QStringLiteral("_IMAGE_HEIGHT"), state.ImageHeight);
  state.ImageWidth = std::min(state.ImageWidth, state.MaxImageWidth);
  state.ImageHeight = std::min(state.ImageHeight, state.MaxImageHeight);
  int background = 0;
  ReadIniInt(doc, kCommon, QStringLiteral("ColorBackground"), background);
  state.BackgroundColor = static_cast<ColorRef>(background);
  int figCount = 0;
  ReadIniInt(doc, kCommon, QStringLiteral("FigCount"), figCount);
  figCount = std::clamp(figCount, 0, kMaxSchemeFigures);

  scene.Figures.reserve(static_cast<size_t>(figCount));
  for (int i = 1; i <= figCount; ++i) scene.Figures.push_back(ReadFigure(doc, FigureSection(i)));
  // The scene's copies follow the window's values even when the scheme has no figures, so that an
  // undo snapshot never carries the size of the previous scheme.
  scene.BackgroundColor = state.BackgroundColor;
  scene.ImageWidth = state.ImageWidth;
  scene.ImageHeight = state.ImageHeight;

  rows = FormulaGrid{QStringList{QString(), QString(), QString()}};
  if (hooks.proposeFormulaName) rows[0][0] = hooks.proposeFormulaName(scene, rows);
  int count = 0;
  ReadIniInt(doc, kFormula, QStringLiteral("Count"), count);
  count = std::clamp(count, 0, kMaxSchemeFormulas);
  if (count > 0) rows = FormulaGrid(count, QStringList{QString(), QString(), QString()});
  for (int k = 1; k <= count; ++k) {
    const QString section = FormulaSection(k);
    QStringList& row = rows[k - 1];
    const SectionReader r(doc, section);
    r.String(u"Name", row[0]);
    r.String(u"Formula", row[1]);
    if (hooks.evaluateRow)
      row[2] = hooks.evaluateRow(scene, rows, k - 1);
    else
      r.String(u"Value", row[2]);
  }
  return true;
}

bool LoadShemaFile(const QString& path, stScena& scene, FormulaGrid& rows, EditorState& state,
                   const SchemeLoadHooks& hooks) {
  scene.Figures.clear();
  if (!QFileInfo::exists(path)) return false;
  IniDocument doc;
  if (!doc.LoadFile(path)) return false;
  return ReadShemaDocument(doc, scene, rows, state, hooks);
}

bool BuildShemaDocument(const stScena& scene, const FormulaGrid& rows, const EditorState& state, IniDocument& doc) {
  doc.Clear();
  bool ok = true;
  {
    SectionWriter common(doc, kCommon, ok);
    common.String(u"FormatFile", state.FormatTag);
    common.Int(u"_IMAGE_WIDTH", state.ImageWidth);
    common.Int(u"_IMAGE_HEIGHT", state.ImageHeight);
    common.Color(u"ColorBackground", state.BackgroundColor);
  }
  const QString lupa = QStringLiteral("Lupa"), grid = QStringLiteral("Grid"), strelki = QStringLiteral("Strelki");
  SectionWriter(doc, lupa, ok).Bool(u"Enabled", state.LupaEnabled);
  SectionWriter(doc, grid, ok).Color(u"GridColor", state.GridColor);
  {
    SectionWriter w(doc, strelki, ok);
    w.Bool(u"Show", state.ShowStrelki);
    w.Int(u"VidColor", state.StrelkiVidColor);
    w.Color(u"Color", state.StrelkiColor);
  }
  SectionWriter(doc, kCommon, ok).Int(u"FigCount", static_cast<int>(scene.Figures.size()));

  int i = 0;
  for (const stFigure& f : scene.Figures) WriteFigure(doc, FigureSection(++i), f, ok);

  int k = 0;
  for (const QStringList& row : rows) {
    if (!RowHasText(row)) continue;
    const QString section = FormulaSection(++k);
    SectionWriter w(doc, section, ok);
    w.String(u"Name", row.value(0));
    w.String(u"Formula", row.value(1));
    w.String(u"Value", row.value(2));
  }
  SectionWriter(doc, kFormula, ok).Int(u"Count", k);
  return ok;
}

bool SaveShemaFile(const QString& path, const stScena& scene, const FormulaGrid& rows, const EditorState& state) {
  IniDocument doc;
  return BuildShemaDocument(scene, rows, state, doc) && doc.SaveFile(path);
}

}  // namespace korvan
