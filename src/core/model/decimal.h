// Decimal numbers as the sample and temporary files hold them.
#pragma once

#include <string_view>

namespace qlor {

/// Parses a whole token as a decimal number (optional sign, exponent).
[[nodiscard]] bool parse_decimal(std::string_view token, double& v);

/// Parses a whole token as a positive, finite length (a bandwidth).
[[nodiscard]] bool parse_positive_length(std::string_view token, double& v);

}  // namespace qlor
