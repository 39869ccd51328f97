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

// a + b exactly, for |a| >= |b| (or a == 0).
[[gnu::always_inline]] inline Dd fast_two_sum(double a, double b) {
  const double s = a + b;
  return {s, b - (s - a)};
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

[[gnu::always_inline]] inline Dd mul(Dd a, Dd b) {
  const Dd p = two_prod(a.hi, b.hi);
  return fast_two_sum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

[[gnu::always_inline]] inline Dd add(Dd a, Dd b) {
  const Dd s = two_sum(a.hi, b.hi);
  return fast_two_sum(s.hi, s.lo + (a.lo + b.lo));
}

}  // namespace fixed_math_detail

/// arccos x for -1 <= x <= 1, within one unit in the last place: the
/// rational approximations of asin on [0, 1/2] of Sun's fdlibm, evaluated
/// for every argument and the branches chosen by selects. |x| < 1/2: pi/2 -
/// (x + x r(x^2)); beyond, with z = (1 - |x|) / 2 and s = sqrt z: 2 (s + s
/// r(z)) for x > 0 (s split in two halves for its last bits), pi - 2 (s + s
/// r(z)) for x < 0. Every lane computes every branch; masks choose.
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
  const double z =
      fixed_math_detail::select_by_sign(ax - 0.5, x * x, (1.0 - ax) * 0.5);
  const double p =
      z * (p0 + z * (p1 + z * (p2 + z * (p3 + z * (p4 + z * p5)))));
  const double q = 1.0 + z * (q1 + z * (q2 + z * (q3 + z * q4)));
  const double r = p / q;
  const double s = std::sqrt(z);
  // s's high half, exact when squared, and the low part of sqrt z.
  const double high = std::bit_cast<double>(std::bit_cast<std::uint64_t>(s) &
                                            0xffffffff00000000ull);
  // s + high is 0 (at |x| = 1) or at least 2^-27, which the smallest
  // normal double leaves as it is: no 0 / 0, and no select.
  const double c = (z - high * high) / ((s + high) + 2.2250738585072014e-308);
  const double from_middle = kHalfPiHigh - (x - (kHalfPiLow - x * r));
  const double from_one = 2.0 * (high + (r * s + c));
  const double from_minus_one = kFullPi - 2.0 * (s + (r * s - kHalfPiLow));
  return fixed_math_detail::select_by_sign(
      ax - 0.5, from_middle,
      fixed_math_detail::select_by_sign(x, from_minus_one, from_one));
}

/// arccos x for -1 <= x <= 1, correctly rounded but for about seven
/// arguments in a million, and never more than 0.51 units in the last place
/// off (checked against MPFR by bench/acos_accuracy): eight times the cost
/// of fixed_acos, which the estimators therefore keep for now. |x| < 1/2: pi/2
/// - asin x; beyond, with z = (1 - |x|) / 2 (exact) and s = sqrt z carried in
/// two parts, 2 asin s for x > 0 and pi - 2 asin s for x < 0. asin u for |u| <=
/// 1/2 is u + u^3 (c1 + v (c2 + v (c3 + v (c4 + v Q(v))))), v = u^2, with c1 ..
/// c3 of its Taylor series in double-double and the rest (below 2^-13 of the
/// whole) in doubles: Q a polynomial of degree 12, fitted at Chebyshev nodes on
/// [0, 1/4] to within 2^-50. The branches are chosen by selects, every lane
/// computes the same operations.
[[gnu::always_inline]] inline double correctly_rounded_acos(double x) {
  using fixed_math_detail::add;
  using fixed_math_detail::Dd;
  using fixed_math_detail::fast_two_sum;
  using fixed_math_detail::mul;
  using fixed_math_detail::select_by_sign;
  using fixed_math_detail::two_prod;
  using fixed_math_detail::two_sum;
  constexpr Dd kHalfPi{1.5707963267948966, 6.123233995736766e-17};
  constexpr Dd kPi{3.141592653589793, 1.2246467991473532e-16};
  constexpr Dd c1{0.16666666666666666, 9.25185853854297e-18};     // 1/6
  constexpr Dd c2{0.075, 2.7755575615628915e-18};                 // 3/40
  constexpr Dd c3{0.044642857142857144, -9.912705577010326e-19};  // 15/336
  constexpr double c4 = 0.030381944444444444;                     // 105/3456
  constexpr double q0 = 0.0223721590909091;
  constexpr double q1 = 0.017352764423065686;
  constexpr double q2 = 0.013964843752508664;
  constexpr double q3 = 0.011551800676790474;
  constexpr double q4 = 0.009761619459257952;
  constexpr double q5 = 0.008390069397541474;
  constexpr double q6 = 0.00731708942626872;
  constexpr double q7 = 0.006395198533159293;
  constexpr double q8 = 0.006141721255953746;
  constexpr double q9 = 0.003055910028678267;
  constexpr double q10 = 0.011865702664725277;
  constexpr double q11 = -0.010940370101140752;
  constexpr double q12 = 0.02021714632062441;
  const double ax = std::bit_cast<double>(std::bit_cast<std::uint64_t>(x) &
                                          0x7fffffffffffffffull);
  const double middle = ax - 0.5;  // negative for |x| < 1/2
  // Beyond 1/2: s = sqrt z and its low part (z - s^2) / 2s, 0 at |x| = 1.
  const double z = (1.0 - ax) * 0.5;
  const double s = std::sqrt(z);
  const Dd square = two_prod(s, s);
  // 2s is 0 or at least 2^-26, which the smallest normal double leaves as
  // it is: a division by 0 at |x| = 1 is avoided without a select.
  const double twice_s = (s + s) + 2.2250738585072014e-308;
  const double s_low = ((z - square.hi) - square.lo) / twice_s;
  const Dd u{select_by_sign(middle, x, s), select_by_sign(middle, 0.0, s_low)};
  const Dd uu = two_prod(u.hi, u.hi);
  const Dd v = fast_two_sum(uu.hi, uu.lo + 2.0 * u.hi * u.lo);
  const double w = v.hi;
  double q = q12;
  q = q * w + q11;
  q = q * w + q10;
  q = q * w + q9;
  q = q * w + q8;
  q = q * w + q7;
  q = q * w + q6;
  q = q * w + q5;
  q = q * w + q4;
  q = q * w + q3;
  q = q * w + q2;
  q = q * w + q1;
  q = q * w + q0;
  Dd t = two_sum(c3.hi, w * (c4 + w * q));
  t = fast_two_sum(t.hi, t.lo + c3.lo);
  t = add(c2, mul(v, t));
  t = add(c1, mul(v, t));
  const Dd asin = add(u, mul(u, mul(v, t)));
  // All three ends are computed and one is selected.
  const Dd from_middle = add(kHalfPi, Dd{-asin.hi, -asin.lo});
  const Dd from_minus_one = add(kPi, Dd{-2.0 * asin.hi, -2.0 * asin.lo});
  const double to_middle = from_middle.hi + from_middle.lo;
  const double to_one = 2.0 * asin.hi + 2.0 * asin.lo;
  const double to_minus_one = from_minus_one.hi + from_minus_one.lo;
  return select_by_sign(middle, to_middle,
                        select_by_sign(x, to_minus_one, to_one));
}

}  // namespace qlor
