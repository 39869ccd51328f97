// Elementary functions made of IEEE-754 additions, multiplications,
// divisions and square roots alone, in a fixed order, so that they give the
// same bits on every processor and in every vector width (the C library picks
// its variants by processor, and they differ in the last bit). Inline and
// branch-free, so that loops calling them vectorise.
#pragma once

#include <bit>
#include <cstdint>

namespace qlor {

/// e^a for -700 <= a <= 0, within about two units in the last place: a = k
/// ln 2 + r with |r| <= ln 2 / 2, 2^k from the exponent bits and e^r by
/// Taylor's polynomial to degree 13 (its remainder is below 2^-55 relative).
[[gnu::always_inline]] inline double fixed_exp(double a) {
  constexpr double kLog2e = 1.4426950408889634074;
  constexpr double kLn2High = 0.693147180369123816490;  // 32 bits of ln 2
  constexpr double kLn2Low = 1.90821492927058770002e-10;
  constexpr double kRound = 6755399441055744.0;  // 1.5 * 2^52
  const double shifted = a * kLog2e + kRound;
  const double k = shifted - kRound;  // a / ln 2 rounded to an integer
  const double r = (a - k * kLn2High) - k * kLn2Low;
  // Taylor's coefficients 1 / i!, summed by Estrin's scheme: pairs, then
  // pairs of pairs, so that the dependent chain is five operations deep, not
  // twenty-six, and a vector loop keeps its units busy.
  const double r2 = r * r;
  const double r4 = r2 * r2;
  const double r8 = r4 * r4;
  const double q0 = 1.0 + r;
  const double q1 = 0.5 + (1.0 / 6.0) * r;
  const double q2 = 1.0 / 24.0 + (1.0 / 120.0) * r;
  const double q3 = 1.0 / 720.0 + (1.0 / 5040.0) * r;
  const double q4 = 1.0 / 40320.0 + (1.0 / 362880.0) * r;
  const double q5 = 1.0 / 3628800.0 + (1.0 / 39916800.0) * r;
  const double q6 = 1.0 / 479001600.0 + (1.0 / 6227020800.0) * r;
  const double s0 = q0 + q1 * r2;
  const double s1 = q2 + q3 * r2;
  const double s2 = q4 + q5 * r2;
  const double u0 = s0 + s1 * r4;
  const double u1 = s2 + q6 * r4;
  const double p = u0 + u1 * r8;
  // 2^k: k + 1023 in the exponent field (a normal number for k >= -1022).
  const auto bits = (std::bit_cast<std::uint64_t>(shifted) + 1023u) << 52;
  return p * std::bit_cast<double>(bits);
}

/// ln x for a normal, finite x > 0, within about two units in the last
/// place: x = 2^k m with sqrt(1/2) <= m < sqrt(2), and ln m = 2 atanh f, f =
/// (m - 1) / (m + 1), |f| <= 0.1716, by its series to f^23.
[[gnu::always_inline]] inline double fixed_log(double x) {
  constexpr double kLn2High = 0.693147180369123816490;
  constexpr double kLn2Low = 1.90821492927058770002e-10;
  constexpr std::uint64_t kMantissa = (std::uint64_t{1} << 52) - 1;
  const auto bits = std::bit_cast<std::uint64_t>(x);
  auto k = static_cast<std::int64_t>(bits >> 52) - 1023;
  double m = std::bit_cast<double>((bits & kMantissa) |
                                   (std::uint64_t{1023} << 52));  // [1, 2)
  // Into [sqrt(1/2), sqrt(2)).
  const bool high = m > 1.4142135623730951;
  m = high ? m * 0.5 : m;
  k = high ? k + 1 : k;
  const double f = (m - 1.0) / (m + 1.0);
  const double f2 = f * f;
  double p = 1.0 / 23;
  p = p * f2 + 1.0 / 21;
  p = p * f2 + 1.0 / 19;
  p = p * f2 + 1.0 / 17;
  p = p * f2 + 1.0 / 15;
  p = p * f2 + 1.0 / 13;
  p = p * f2 + 1.0 / 11;
  p = p * f2 + 1.0 / 9;
  p = p * f2 + 1.0 / 7;
  p = p * f2 + 1.0 / 5;
  p = p * f2 + 1.0 / 3;
  const double kd = static_cast<double>(k);
  // 2f + 2f^3 p, with the small part added first.
  return (kd * kLn2High + 2.0 * f) + (kd * kLn2Low + 2.0 * f * (f2 * p));
}

}  // namespace qlor
