#pragma once
// The figure record and its companions. Figures are plain values: copying one copies everything,
// its picture included (QImage shares pixels until one side changes them, then detaches).

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace korvan {

// Colours are Windows colour values 0x00BBGGRR, kept as such in files.
using ColorRef = std::uint32_t;

enum class FigureKind : std::uint8_t {
  None = 0,  // only a figure read from a file without "Vid"
  Line = 1,
  Rectangle = 2,
  RoundRect = 3,
  Ellipse = 4,
  Triangle = 5,
  SquareTriangle = 6,
  Strelka = 7,
  DoubleStrelka = 8,
  Romb = 9,
  Text = 10,
  Picture = 11,
  Photo = 12,
  Table = 13,
  Curve = 14,
};

inline constexpr int kFigureKindCount = 15;

// What a press on the canvas would grab: nothing, the body, or one of the eight marks.
enum class HitCode : std::uint8_t {
  None = 0,
  Body = 1,
  // Marks 2..9; their positions are fixed by the painter and hit-testing.
  Mark2 = 2,
  Mark3 = 3,
  Mark4 = 4,
  Mark5 = 5,
  Mark6 = 6,
  Mark7 = 7,
  Mark8 = 8,
  Mark9 = 9,
};

struct stTextLine {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  QString Text;
  friend bool operator==(const stTextLine&, const stTextLine&) = default;
};

struct stFont {
  std::int32_t Charset = 1;  // DEFAULT_CHARSET
  ColorRef Color = 0;
  std::int32_t Height = -13;  // pixels of a 10-point face at 96 dpi, negative as character height
  QString Name;
  std::uint8_t Pitch = 0;  // 0 default, 1 variable, 2 fixed
  std::int32_t Size = 10;
  bool Bold = false, Italic = false, Underline = false, StrikeOut = false;
  friend bool operator==(const stFont&, const stFont&) = default;
};

// A selection-mark rectangle, Windows-style: right and bottom exclusive.
struct MarkRect {
  std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  friend bool operator==(const MarkRect&, const MarkRect&) = default;
};

struct stFigure {
  QString Guid;
  QString GuidParent;
  QString Name;
  std::uint8_t Vid = 0;  // FigureKind code
  std::int32_t X0 = 0, Y0 = 0;
  std::int32_t X1 = 0, Y1 = 0;  // not normalised: X1 < X0 and Y1 < Y0 are valid
  std::int32_t DeltaXParent = 0, DeltaYParent = 0;
  QString Text;
  std::uint8_t TextPosition = 0;  // 0 left, 1 centre, 2 right
  std::vector<stTextLine> TextLines;
  bool Selected = false;
  double Width = 0;
  double Height = 0;
  bool ShowStrelki = true;
  std::uint8_t VidFill = 0;  // 0 outline, 1 filled
  std::uint8_t VidStrelkaLineLengthHor = 0;
  std::int32_t StrelkaLineLengthHor = 0;
  std::uint8_t VidStrelkaLineLengthVer = 0;
  std::int32_t StrelkaLineLengthVer = 0;
  std::int32_t TableRow = 0;
  std::int32_t TableColumn = 0;
  std::vector<QPoint> Points;
  QImage Picture;
  ColorRef PenColor = 0;
  std::int32_t PenWidth = 1;
  std::uint8_t PenStyle = 0;  // 0 solid, 1 dash, 2 dot
  ColorRef BrushColor = 0;
  std::uint8_t BrushStyle = 0;  // 0 solid, 1 clear, 2..7 hatches
  std::array<MarkRect, 8> MarkRects{};
  stFont Font;

  FigureKind Kind() const { return static_cast<FigureKind>(Vid); }
  bool Is(FigureKind k) const { return Vid == static_cast<std::uint8_t>(k); }

  // Field-by-field equality; pictures compare by pixels.
  friend bool operator==(const stFigure&, const stFigure&) = default;
};

}  // namespace korvan
