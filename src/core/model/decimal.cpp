// Decimal numbers without any locale.
#include "model/decimal.h"

#include <charconv>
#include <cmath>

namespace qlor {

bool parse_decimal(std::string_view token, double& v) {
  if (!token.empty() && token.front() == '+') token.remove_prefix(1);
  if (token.empty() || token.front() == '+') return false;
  const char c =
      token.front() == '-' && token.size() > 1 ? token[1] : token.front();
  // Formatted extraction reads digits and a point only: no inf, nan or hex.
  if (!((c >= '0' && c <= '9') || c == '.')) return false;
  const auto res = std::from_chars(token.data(), token.data() + token.size(), v,
                                   std::chars_format::general);
  return res.ec == std::errc() && res.ptr == token.data() + token.size();
}

bool parse_positive_length(std::string_view token, double& v) {
  double parsed = 0;
  if (!parse_decimal(token, parsed) || !(parsed > 0) ||
      !std::isfinite(parsed)) {
    return false;
  }
  v = parsed;
  return true;
}

std::string shortest_decimal(double v) {
  // The fixed form of the extremes needs up to 309 digits before the point
  // (1e308) or 324 after it (the smallest subnormal).
  char buf[352];
  const auto res = std::to_chars(buf, buf + sizeof buf, v);
  std::string s(buf, res.ptr);
  // Plain notation keeps the file readable by the sample reader.
  if (s.find('e') != std::string::npos) {
    const auto fixed =
        std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    s.assign(buf, fixed.ptr);
  }
  return s;
}

}  // namespace qlor
