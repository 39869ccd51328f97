// Elementary functions made of IEEE-754 additions, multiplications,
// divisions and square roots alone, in a fixed order, so that they give the
// same bits on every processor and in every vector width (the C library picks
// its variants by processor, and they differ in the last bit). Inline and
// branch-free, so that loops calling them vectorise.
#pragma once

#include <bit>
#include <cmath>
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

/// arccos x for -1 <= x <= 1, within one unit in the last place: the
/// rational approximations of asin on [0, 1/2] of Sun's fdlibm, evaluated
/// for every argument and the branches chosen by selects. |x| < 1/2: pi/2 -
/// (x + x r(x^2)); beyond, with z = (1 - |x|) / 2 and s = sqrt z: 2 (s + s
/// r(z)) for x > 0 (s split in two halves for its last bits), pi - 2 (s + s
/// r(z)) for x < 0.
[[gnu::always_inline]] inline double fixed_acos(double x) {
  constexpr double kFullPi = 3.14159265358979311600e+00;
  constexpr double kHalfPiHigh = 1.57079632679489655800e+00;
  constexpr double kHalfPiLow = 6.12323399573676603587e-17;
  constexpr double p0 = 1.66666666666666657415e-01;
  constexpr double p1 = -3.25565818622400915405e-01;
  constexpr double p2 = 2.01212532134862925881e-01;
  constexpr double p3 = -4.00555345006794114027e-02;
  constexpr double p4 = 7.91534994289814532176e-04;
  constexpr double p5 = 3.47933107596021167570e-05;
  constexpr double q1 = -2.40339491173441421878e+00;
  constexpr double q2 = 2.02094576023350569471e+00;
  constexpr double q3 = -6.88283971605453293030e-01;
  constexpr double q4 = 7.70381505559019352791e-02;
  const double ax = std::bit_cast<double>(std::bit_cast<std::uint64_t>(x) &
                                          0x7fffffffffffffffull);
  const bool middle = ax < 0.5;
  const double z = middle ? x * x : (1.0 - ax) * 0.5;
  const double p = z * (p0 + z * (p1 + z * (p2 + z * (p3 + z * (p4 + z * p5)))));
  const double q = 1.0 + z * (q1 + z * (q2 + z * (q3 + z * q4)));
  const double r = p / q;
  const double s = std::sqrt(z);
  // s's high half, exact when squared, and the low part of sqrt z.
  const double high = std::bit_cast<double>(std::bit_cast<std::uint64_t>(s) &
                                            0xffffffff00000000ull);
  const double c = (z - high * high) / (s + high);
  const double from_middle = kHalfPiHigh - (x - (kHalfPiLow - x * r));
  const double from_one = 2.0 * (high + (r * s + c));
  const double from_minus_one = kFullPi - 2.0 * (s + (r * s - kHalfPiLow));
  // At |x| = 1, z = 0 and c is 0 / 0.
  const double positive = ax == 1.0 ? 0.0 : from_one;
  return middle ? from_middle : (x > 0 ? positive : from_minus_one);
}

}  // namespace qlor
