#pragma once
// Rounding half away from zero to n decimals, and the display of rounded measures.

#include <QString>

namespace korvan {

class ZMath {
 public:
  ZMath() = default;
  const QString& Title() const { return title_; }

  // x rounded half away from zero to n decimals; a fraction within 1e-10 below one half counts
  // as one half, so 2.675 gives 2.68 at n = 2 despite its binary form.
  static double Round(double x, int n);
  // FormatNumber(Round(x, n)); a value that would round to nothing takes up to 7 decimals instead.
  static QString FormatRounded(double x, int n);

 private:
  QString title_ = QStringLiteral("Математический класс");
};

}  // namespace korvan
