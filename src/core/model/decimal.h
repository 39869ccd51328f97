// Decimal numbers as the sample and temporary files hold them.
#pragma once

#include <string>
#include <string_view>

namespace qlor {

/// Parses a whole token as a decimal number (optional sign, exponent).
[[nodiscard]] bool parse_decimal(std::string_view token, double& v);

/// Parses a whole token as a positive, finite length (a bandwidth).
[[nodiscard]] bool parse_positive_length(std::string_view token, double& v);

/// The shortest decimal text that reads back as v ("10.5", "3", "7.25").
[[nodiscard]] std::string shortest_decimal(double v);

}  // namespace qlor
