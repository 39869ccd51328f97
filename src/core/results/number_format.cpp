// The %g format of the output files, independent of the process locale.
#include "results/number_format.h"

#include <charconv>
#include <cstring>

namespace qlor {

void append_g(std::string& out, double v) {
  char buf[64];
  // to_chars is locale-free and gives the same digits as printf "%g".
  const auto res =
      std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
  std::size_t len = static_cast<std::size_t>(res.ptr - buf);
  // Widen a two-digit exponent to three digits: e-05 -> e-005.
  const char* e = static_cast<const char*>(std::memchr(buf, 'e', len));
  if (e != nullptr) {
    const std::size_t pos = static_cast<std::size_t>(e - buf);
    const std::size_t digits = len - pos - 2;
    out.append(buf, pos + 2);
    if (digits < 3) out.append(3 - digits, '0');
    out.append(buf + pos + 2, digits);
    return;
  }
  out.append(buf, len);
}

std::string format_g(double v) {
  std::string s;
  append_g(s, v);
  return s;
}

}  // namespace qlor
