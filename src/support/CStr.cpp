#include "support/CStr.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace korvan {
namespace {

// Digits of the integer part; counted by comparison because log10 rounds 999999999999999 up to 15.
int IntegerDigits(double v) {
  int d = 1;
  double limit = 10.0;
  while (v >= limit && d < 400) {
    ++d;
    limit *= 10.0;
  }
  return d;
}

}  // namespace

CStr CStr::FromNumber(double x, unsigned maxDecimals) {
  int decimals = 0;
  if (std::isfinite(x)) {
    const int d = IntegerDigits(std::fabs(std::trunc(x)));
    decimals = static_cast<int>(std::min(maxDecimals, 14u));
    const int room = 15 - d;
    decimals = room < 0 ? 0 : std::min(decimals, room);
  }
  char buf[512];
  int n;
  if (decimals > 0)
    n = std::snprintf(buf, sizeof buf, "%.*Lf", decimals, static_cast<long double>(x));
  else
    n = std::snprintf(buf, sizeof buf, "%.0Lf.", static_cast<long double>(x));
  if (n < 0) return CStr();
  return CStr(std::string(buf, std::min<size_t>(static_cast<size_t>(n), sizeof buf - 1)));
}

}  // namespace korvan
