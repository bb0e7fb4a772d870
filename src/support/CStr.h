#pragma once
// A Windows-1251 byte string with the fixed-point conversion every number display starts from.

#include <string>

namespace korvan {

class CStr : public std::string {
 public:
  using std::string::string;
  CStr() = default;
  explicit CStr(std::string s) : std::string(std::move(s)) {}
  virtual ~CStr() = default;

  // x in fixed-point with at most maxDecimals decimals (never more than 14) and never more than
  // 15 significant digits; with no room for decimals the text ends in a point ("1000000000000000.").
  static CStr FromNumber(double x, unsigned maxDecimals);
};

}  // namespace korvan
