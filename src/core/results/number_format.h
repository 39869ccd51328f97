// Numbers of the output files: printf "%g" with six significant digits and
// exponents of at least three digits ("1.2345e-005", "1e+006").
#pragma once

#include <string>

namespace qlor {

/// Formats v as the output files write it.
[[nodiscard]] std::string format_g(double v);

/// Appends the formatted number to `out`.
void append_g(std::string& out, double v);

}  // namespace qlor
