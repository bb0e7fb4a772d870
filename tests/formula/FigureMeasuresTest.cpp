// Area, perimeter, their texts and their formula texts, kind by kind.

#include <QString>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/QtPrinters.h"
#include "formula/FigureMeasures.h"
#include "formula/FormulaTable.h"

namespace korvan {
namespace {

stFigure Figure(FigureKind kind, double w, double h, const char* name = "N") {
  stFigure f;
  f.Vid = static_cast<std::uint8_t>(kind);
  f.Width = w;
  f.Height = h;
  f.Name = QString::fromUtf8(name);
  f.Guid = QStringLiteral("G-") + f.Name;
  return f;
}

const double kPi = 3.141592653589793;

TEST(FigureMeasures, AreaAndPerimeterByKind) {
  const EditorState st;
  struct Case {
    FigureKind kind;
    double w, h, area, perimeter;
  };
  const Case cases[] = {
      {FigureKind::Rectangle, 2.5, 4, 10, 13},
      {FigureKind::Picture, 2.5, 4, 10, 13},
      {FigureKind::Photo, 2.5, 4, 10, 13},
      {FigureKind::RoundRect, 10, 10, 95, 38},
      {FigureKind::Ellipse, 3, 2, 6 * kPi, 4 * (1 + 6 * kPi) / 5},
      {FigureKind::Triangle, 6, 4, 12, 16},
      {FigureKind::SquareTriangle, 3, 4, 6, 12},
      {FigureKind::Romb, 6, 8, 24, 20},
      {FigureKind::Line, 6, 8, 0, 0},
      {FigureKind::Strelka, 6, 8, 0, 0},
      {FigureKind::DoubleStrelka, 6, 8, 0, 0},
      {FigureKind::Text, 6, 8, 0, 0},
      {FigureKind::Table, 6, 8, 0, 0},
      {FigureKind::Curve, 6, 8, 0, 0},
      {FigureKind::None, 6, 8, 0, 0},
      // An ellipse with W + H = 0 has perimeter 0 instead of 0/0 or a division by zero.
      {FigureKind::Ellipse, 0, 0, 0, 0},
      {FigureKind::Ellipse, 2, -2, -4 * kPi, 0},
  };
  for (const Case& c : cases) {
    const stFigure f = Figure(c.kind, c.w, c.h);
    EXPECT_DOUBLE_EQ(AreaOf(f, st), c.area) << int(c.kind) << " " << c.w << "x" << c.h;
    EXPECT_DOUBLE_EQ(PerimeterOf(f, st), c.perimeter) << int(c.kind) << " " << c.w << "x" << c.h;
  }
  stFigure odd = Figure(FigureKind::Rectangle, 3, 4);
  odd.Vid = 200;  // a kind code no kind has, as a damaged file can give
  EXPECT_EQ(AreaOf(odd, st), 0);
  EXPECT_EQ(PerimeterOf(odd, st), 0);
}

TEST(FigureMeasures, TextsRoundWithTheirOwnDecimals) {
  EditorState st;
  struct Case {
    FigureKind kind;
    double w, h;
    int areaZnak, perimetrZnak;
    const char* area;
    const char* perimeter;
  };
  const Case cases[] = {
      {FigureKind::Rectangle, 2.5, 4, 2, 2, "10.0", "13.0"},
      {FigureKind::Rectangle, 1.234, 1, 2, 1, "1.23", "4.5"},
      {FigureKind::Ellipse, 3, 2, 2, 3, "18.85", "15.88"},
      {FigureKind::Line, 3, 2, 2, 2, "", ""},
      {FigureKind::Rectangle, 0.001, 0.001, 2, 2, "0.000001", "0.004"},
      // 4e300 is still a number: shown in full, as every number beyond 10^15 is.
      {FigureKind::Rectangle, 1e300, 1e300, 2, 2, "Бесконечность", nullptr},
      {FigureKind::Rectangle, -1e300, 1e300, 2, 2, "-Бесконечность", ""},
  };
  for (const Case& c : cases) {
    st.AreaZnak = c.areaZnak;
    st.PerimetrZnak = c.perimetrZnak;
    const stFigure f = Figure(c.kind, c.w, c.h);
    EXPECT_EQ(AreaText(f, st), QString::fromUtf8(c.area)) << c.w << "x" << c.h;
    if (c.perimeter)
      EXPECT_EQ(PerimeterText(f, st), QString::fromUtf8(c.perimeter)) << c.w << "x" << c.h;
    else
      EXPECT_TRUE(!IsNonFiniteText(PerimeterText(f, st)) && PerimeterText(f, st).size() > 300)
          << PerimeterText(f, st).toStdString();
  }
}

TEST(FigureMeasures, ValueDisplayOfNumbersThatAreNotFinite) {
  const double inf = std::numeric_limits<double>::infinity();
  struct Case {
    double value;
    int decimals;
    const char* text;
  };
  const Case cases[] = {{inf, 2, "Бесконечность"},
                        {-inf, 2, "-Бесконечность"},
                        {std::nan(""), 2, "Не число"},
                        {0.0, 2, ""},
                        {-0.0, 2, ""},
                        {12, 2, "12.0"},
                        {2.675, 2, "2.68"},
                        {1.0 / 3, 0, "0.3"}, {0.0004, 2, "0.0004"}};
  for (const Case& c : cases) EXPECT_EQ(FormatValue(c.value, c.decimals), QString::fromUtf8(c.text)) << c.value;
  for (const char* t : {"Бесконечность", " -Бесконечность ", "Не число"})
    EXPECT_TRUE(IsNonFiniteText(QString::fromUtf8(t))) << t;
  for (const char* t : {"", "0", "inf", "бесконечность", "Не число!"}) EXPECT_FALSE(IsNonFiniteText(QString::fromUtf8(t))) << t;
}

TEST(FigureMeasures, FormulaTextsAreBuiltFromTheLiteralPieces) {
  const EditorState st;
  struct Case {
    FigureKind kind;
    const char* area;
    const char* perimeter;
  };
  const Case cases[] = {
      {FigureKind::Rectangle, "Стена_Длина*Стена_Высота", "2.*(Стена_Длина+Стена_Высота)"},
      {FigureKind::Picture, "Стена_Длина*Стена_Высота", "2.*(Стена_Длина+Стена_Высота)"},
      {FigureKind::Photo, "Стена_Длина*Стена_Высота", "2.*(Стена_Длина+Стена_Высота)"},
      {FigureKind::RoundRect, "Стена_Длина*Стена_Высота*0.95", "2.*0.95*(Стена_Длина+Стена_Высота)"},
      {FigureKind::Ellipse, "3.1415926536*Стена_Длина*Стена_Высота",
       "4.*(3.1415926536*Стена_Длина*Стена_Высота+(Стена_Длина-Стена_Высота)^2)/(Стена_Длина+Стена_Высота)"},
      {FigureKind::Triangle, "0.5*Стена_Длина*Стена_Высота", "(Стена_Длина+2.*(Стена_Высота^2+Стена_Длина^2/4)^0.5)"},
      {FigureKind::SquareTriangle, "0.5*Стена_Длина*Стена_Высота",
       "(Стена_Длина+Стена_Высота+(Стена_Длина^2+Стена_Высота^2)^0.5)"},
      {FigureKind::Romb, "Стена_Длина*Стена_Высота/2", "4.*(Стена_Длина^2/4.+Стена_Высота^2/4.)^0.5"},
      {FigureKind::Line, "", ""},
      {FigureKind::Strelka, "", ""},
      {FigureKind::Text, "", ""},
      {FigureKind::Table, "", ""},
      {FigureKind::Curve, "", ""},
  };
  for (const Case& c : cases) {
    const stFigure f = Figure(c.kind, 1, 1, "Стена");
    EXPECT_EQ(AreaFormulaText(f, st), QString::fromUtf8(c.area)) << int(c.kind);
    EXPECT_EQ(PerimeterFormulaText(f, st), QString::fromUtf8(c.perimeter)) << int(c.kind);
  }
  EXPECT_EQ(AreaName(QStringLiteral("Стена"), st), QStringLiteral("Стена_Площадь"));
  EXPECT_EQ(PerimeterName(QStringLiteral("Стена"), st), QStringLiteral("Стена_Периметр"));
  EXPECT_EQ(LengthName(QStringLiteral("Стена"), st), QStringLiteral("Стена_Длина"));
  EXPECT_EQ(HeightName(QStringLiteral("Стена"), st), QStringLiteral("Стена_Высота"));
}

TEST(FigureMeasures, FormulaTextsEvaluateToTheMeasures) {
  const EditorState st;
  const FigureKind kinds[] = {FigureKind::Rectangle, FigureKind::RoundRect, FigureKind::Ellipse,
                              FigureKind::Triangle, FigureKind::SquareTriangle, FigureKind::Romb};
  const double sizes[][2] = {{3, 2}, {2.5, 4}, {10, 10}, {0.3, 7.25}};
  for (const FigureKind k : kinds) {
    for (const auto& s : sizes) {
      const std::vector<stFigure> figures{Figure(k, s[0], s[1], "Ф")};
      const FormulaGrid rows{{QString(), QString(), QString()}};
      const FormulaValue a = CalculateFormulaText(AreaFormulaText(figures[0], st), false, figures, rows, st);
      const FormulaValue p = CalculateFormulaText(PerimeterFormulaText(figures[0], st), false, figures, rows, st);
      ASSERT_FALSE(a.Failed()) << a.Message.toStdString();
      ASSERT_FALSE(p.Failed()) << p.Message.toStdString();
      // The texts use pi to ten decimals, hence the tolerance.
      EXPECT_NEAR(a.Value, AreaOf(figures[0], st), 1e-9 * std::fabs(AreaOf(figures[0], st))) << int(k);
      EXPECT_NEAR(p.Value, PerimeterOf(figures[0], st), 1e-9 * std::fabs(PerimeterOf(figures[0], st))) << int(k);
    }
  }
}

}  // namespace
}  // namespace korvan
