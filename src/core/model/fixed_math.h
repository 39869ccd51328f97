// Elementary functions made of IEEE-754 additions, multiplications,
// divisions and square roots alone, in a fixed order, so that they give the
// same bits on every processor and in every vector width (the C library picks
// its variants by processor, and they differ in the last bit). Inline and
// branch-free, so that loops calling them vectorise.
#pragma once

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

#include "model/asin_table.h"

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

namespace fixed_math_detail {

// Double-double arithmetic (Dekker, Knuth): a value as an unevaluated sum
// hi + lo with |lo| <= ulp(hi) / 2, made of additions and multiplications
// alone (no fused multiply-add), so every processor gives the same bits.
struct Dd {
  double hi;
  double lo;
};

// a + b exactly, for any a and b.
[[gnu::always_inline]] inline Dd two_sum(double a, double b) {
  const double s = a + b;
  const double bb = s - a;
  return {s, (a - (s - bb)) + (b - bb)};
}

// a b exactly (Veltkamp's split into 26-bit halves), for |a|, |b| < 2^995.
[[gnu::always_inline]] inline Dd two_prod(double a, double b) {
  constexpr double kSplit = 134217729.0;  // 2^27 + 1
  const double p = a * b;
  const double ta = kSplit * a;
  const double ah = ta - (ta - a);
  const double al = a - ah;
  const double tb = kSplit * b;
  const double bh = tb - (tb - b);
  const double bl = b - bh;
  return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

// a where `sign` has its sign bit set, else b: a mask from the sign bit by
// integer operations, so that both sides are computed and no comparison
// lets the compiler move one side under a branch (which would keep vector
// loops from vectorising).
[[gnu::always_inline]] inline double select_by_sign(double sign, double a,
                                                    double b) {
  const std::uint64_t mask =
      std::uint64_t{0} - (std::bit_cast<std::uint64_t>(sign) >> 63);
  return std::bit_cast<double>((std::bit_cast<std::uint64_t>(a) & mask) |
                               (std::bit_cast<std::uint64_t>(b) & ~mask));
}

}  // namespace fixed_math_detail

/// arccos x for -1 <= x <= 1, correctly rounded but for about one argument
/// in ten thousand and never more than 0.502 units in the last place off
/// (checked against MPFR by bench/acos_accuracy). Through arcsin u, 0 <= u
/// <= 1/2: |x| < 1/2 gives u = |x| and pi/2 -+ arcsin u; beyond, with z = (1 -
/// |x|) / 2 (exact) and u = sqrt z carried in two parts, 2 arcsin u for x > 0
/// and pi - 2 arcsin u for x < 0. arcsin u is Taylor's polynomial of degree
/// 8 at the nearest s0 = j / 128 (asin_table.h), h = u - s0 exact: its value
/// and slope are pairs of doubles and the slope's product with h is exact, so
/// the part computed in plain doubles is below 2^-15 of the whole. Every
/// lane computes every branch and selects by masks; the coefficients are
/// gathered from arrays, so vector loops over it vectorise.
[[gnu::always_inline]] inline double fixed_acos(double x) {
  using fixed_math_detail::Dd;
  using fixed_math_detail::select_by_sign;
  using fixed_math_detail::two_prod;
  using fixed_math_detail::two_sum;
  namespace table = asin_table;
  constexpr double kHalfPiHigh = 1.5707963267948966;
  constexpr double kHalfPiLow = 6.123233995736766e-17;
  constexpr double kPiHigh = 3.141592653589793;
  constexpr double kPiLow = 1.2246467991473532e-16;
  constexpr double kRound = 6755399441055744.0;  // 1.5 * 2^52
  const double ax = std::bit_cast<double>(std::bit_cast<std::uint64_t>(x) &
                                          0x7fffffffffffffffull);
  const double middle = ax - 0.5;  // negative for |x| < 1/2
  // Beyond 1/2: u = sqrt z and its low part (z - u^2) / 2u, 0 at |x| = 1.
  const double z = (1.0 - ax) * 0.5;
  const double s = std::sqrt(z);
  const Dd square = two_prod(s, s);
  // 2s is 0 or at least 2^-26, which the smallest normal double leaves as
  // it is: a division by 0 at |x| = 1 is avoided without a select.
  const double twice_s = (s + s) + 2.2250738585072014e-308;
  const double s_low = ((z - square.hi) - square.lo) / twice_s;
  const double u = select_by_sign(middle, ax, s);
  const double u_low = select_by_sign(middle, 0.0, s_low);
  // j = u * 128 rounded to the nearest integer, 0 .. 64; the minimum keeps
  // an argument beyond [-1, 1] (a NaN) inside the table.
  const double shifted = u * table::kSteps + kRound;
  const std::uint64_t j = std::min<std::uint64_t>(
      std::bit_cast<std::uint64_t>(shifted) & 127u, table::kEntries - 1);
  const double h = u - (shifted - kRound) * (1.0 / table::kSteps);
  double tail = table::k_c8[j];
  tail = tail * h + table::k_c7[j];
  tail = tail * h + table::k_c6[j];
  tail = tail * h + table::k_c5[j];
  tail = tail * h + table::k_c4[j];
  tail = tail * h + table::k_c3[j];
  tail = tail * h + table::k_c2[j];
  tail = tail * (h * h);
  const double slope = table::k_slope[j];
  const Dd linear = two_prod(slope, h);
  // arcsin u = lead.hi + low.
  const Dd lead = two_sum(table::k_value[j], linear.hi);
  const double low =
      lead.lo +
      (table::k_value_low[j] +
       ((linear.lo + (table::k_slope_low[j] * h + slope * u_low)) + tail));
  // All four ends are computed and one is selected.
  const Dd above = two_sum(kHalfPiHigh, -lead.hi);
  const double to_middle = above.hi + (above.lo + (kHalfPiLow - low));
  const Dd below = two_sum(kHalfPiHigh, lead.hi);
  const double to_negative_middle = below.hi + (below.lo + (kHalfPiLow + low));
  const double to_one = 2.0 * lead.hi + 2.0 * low;
  const Dd far = two_sum(kPiHigh, -2.0 * lead.hi);
  const double to_minus_one = far.hi + (far.lo + (kPiLow - 2.0 * low));
  return select_by_sign(middle,
                        select_by_sign(x, to_negative_middle, to_middle),
                        select_by_sign(x, to_minus_one, to_one));
}

}  // namespace qlor
