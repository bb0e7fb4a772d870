#include "support/ZMath.h"

#include <cmath>
#include <cstdint>

#include "support/ZString.h"

namespace korvan {

double ZMath::Round(double x, int n) {
  if (n < 0) n = 0;
  if (n > 22) n = 22;  // 10^22 is the largest power of ten a double holds exactly
  double m = 1.0;
  for (int i = 0; i < n; ++i) m *= 10.0;
  const double c = x * m;
  // Beyond 2^63 every double is whole already, and NaN has nothing to round.
  if (!(std::fabs(c) < 9.2e18)) return x;
  std::int64_t t = static_cast<std::int64_t>(c);
  const double f = c - static_cast<double>(t);
  if (f == 0) return x;
  if (std::fabs(f) - 0.5 > -1e-10) t += x >= 0 ? 1 : -1;
  return static_cast<double>(t) / m;
}

QString ZMath::FormatRounded(double x, int n) {
  double threshold = 1.0;
  for (int i = 0; i < n; ++i) threshold *= 0.1;
  if (std::fabs(x) >= threshold) return ZString::FormatNumber(Round(x, n));
  for (int k = n + 1; k <= 7; ++k) {
    const double r = Round(x, k);
    if (std::fabs(r) >= 1e-8) return ZString::FormatNumber(r);
  }
  return ZString::FormatNumber(x);
}

}  // namespace korvan
