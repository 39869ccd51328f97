// Elementary functions made of IEEE-754 additions, multiplications,
// divisions and square roots alone, in a fixed order, so that they give the
// same bits on every processor and in every vector width (the C library picks
// its variants by processor, and they differ in the last bit). A fused
// multiply-add appears only as an exact product's error, which Dekker's
// product gives as well. Inline and branch-free, so that loops calling them
// vectorise.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <type_traits>

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
// alone, in doubles or in vectors of them (GCC's vector extension).
template <class V>
struct Pair {
  V hi;
  V lo;
};

// a + b exactly, for any a and b.
template <class V>
[[gnu::always_inline]] inline Pair<V> two_sum(const V& a, const V& b) {
  const V s = a + b;
  const V bb = s - a;
  return {s, (a - (s - bb)) + (b - bb)};
}

// a b exactly (Veltkamp's split into 26-bit halves), for |a|, |b| < 2^995
// and a product whose error is a normal number or 0.
template <class V>
[[gnu::always_inline]] inline Pair<V> two_prod(const V& a, const V& b) {
  const V split = V{} + 134217729.0;  // 2^27 + 1
  const V p = a * b;
  const V ta = split * a;
  const V ah = ta - (ta - a);
  const V al = a - ah;
  const V tb = split * b;
  const V bh = tb - (tb - b);
  const V bl = b - bh;
  return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

// Taylor's terms of arcsin at one entry of asin_table: the value and the
// slope as pairs, and the coefficients of h^2 .. h^8 in c[0] .. c[6].
template <class V>
struct AsinTerms {
  V value;
  V value_low;
  V slope;
  V slope_low;
  V c[7];
};

// The entries of asin_table again, one row of twelve an entry (the terms
// in AsinTerms' order, then a 0), for loops that load a lane's terms
// together instead of one array at a time.
inline constexpr int kAsinRowLength = 12;
alignas(64) inline constexpr auto kAsinRows = [] {
  namespace table = asin_table;
  std::array<double, table::kEntries * kAsinRowLength> rows{};
  for (int j = 0; j < table::kEntries; ++j) {
    const double row[kAsinRowLength] = {
        table::k_value[j],     table::k_value_low[j], table::k_slope[j],
        table::k_slope_low[j], table::k_c2[j],        table::k_c3[j],
        table::k_c4[j],        table::k_c5[j],        table::k_c6[j],
        table::k_c7[j],        table::k_c8[j],        0.0};
    for (int k = 0; k < kAsinRowLength; ++k) {
      rows[static_cast<std::size_t>(j * kAsinRowLength + k)] = row[k];
    }
  }
  return rows;
}();

// The lanes of arccos for one double at a time, as fixed_acos computes
// them: a vector loop over it vectorises (the coefficients are read from
// one array each), and every operation is a basic one. Each function writes
// its result to its first parameter: every lane type passes its vectors by
// reference (see acos_lanes).
struct ScalarLanes {
  using V = double;

  [[gnu::always_inline]] static void abs(double& out, const double& x) {
    out = std::bit_cast<double>(std::bit_cast<std::uint64_t>(x) &
                                0x7fffffffffffffffull);
  }
  [[gnu::always_inline]] static void sqrt(double& out, const double& z) {
    out = std::sqrt(z);
  }
  [[gnu::always_inline]] static void product(Pair<double>& out, const double& a,
                                             const double& b) {
    out = two_prod(a, b);
  }
  // a where `sign` has its sign bit set, else b: a mask from the sign bit
  // by integer operations, so that both sides are computed and no
  // comparison lets the compiler move one side under a branch (which would
  // keep vector loops from vectorising).
  [[gnu::always_inline]] static void select_by_sign(double& out,
                                                    const double& sign,
                                                    const double& a,
                                                    const double& b) {
    const std::uint64_t mask =
        std::uint64_t{0} - (std::bit_cast<std::uint64_t>(sign) >> 63);
    out = std::bit_cast<double>((std::bit_cast<std::uint64_t>(a) & mask) |
                                (std::bit_cast<std::uint64_t>(b) & ~mask));
  }
  // The terms of the entry j whose low bits `shifted` holds: j = 0 .. 64,
  // the minimum keeping an argument beyond [-1, 1] (a NaN) in the table.
  [[gnu::always_inline]] static void terms(AsinTerms<double>& out,
                                           const double& shifted) {
    namespace table = asin_table;
    const std::uint64_t j = std::min<std::uint64_t>(
        std::bit_cast<std::uint64_t>(shifted) & 127u, table::kEntries - 1);
    out = {table::k_value[j],
           table::k_value_low[j],
           table::k_slope[j],
           table::k_slope_low[j],
           {table::k_c2[j], table::k_c3[j], table::k_c4[j], table::k_c5[j],
            table::k_c6[j], table::k_c7[j], table::k_c8[j]}};
  }
};

// ScalarLanes with the exact product's error from one fused multiply-add,
// fma(a, b, -ab), where Dekker's product takes seventeen operations: the
// same exact value, so the same bits. Only for code compiled for a
// processor that has the instruction (elsewhere fma is a library call).
struct ScalarFmaLanes : ScalarLanes {
  [[gnu::always_inline]] static void product(Pair<double>& out, const double& a,
                                             const double& b) {
    const double p = a * b;
    out = {p, __builtin_fma(a, b, -p)};
  }
};

/// Each lane of `lanes` becomes its arc cosine: see fixed_acos. Lanes gives
/// the type V (double or a vector of doubles) and abs, sqrt, product
/// (two_prod's exact pair), select_by_sign and terms; the arithmetic is
/// written once, here, so that every lane type gives the same bits. Vectors
/// pass by reference only: this template is compiled for no instruction set
/// of its own, and a vector passed by value between it and a lane type's
/// functions (compiled for theirs) would change the calling convention.
template <class Lanes>
[[gnu::always_inline]] inline void acos_lanes(typename Lanes::V& lanes) {
  using V = typename Lanes::V;
  namespace table = asin_table;
  constexpr double kRound = 6755399441055744.0;  // 1.5 * 2^52
  const V x = lanes;
  V ax;
  Lanes::abs(ax, x);
  const V middle = ax - (V{} + 0.5);  // negative for |x| < 1/2
  // Beyond 1/2: u = sqrt z and its low part (z - u^2) / 2u, 0 at |x| = 1.
  const V z = ((V{} + 1.0) - ax) * (V{} + 0.5);
  V s;
  Lanes::sqrt(s, z);
  Pair<V> square;
  Lanes::product(square, s, s);
  // 2s is 0 or at least 2^-26, which the smallest normal double leaves as
  // it is: a division by 0 at |x| = 1 is avoided without a select.
  const V twice_s = (s + s) + (V{} + 2.2250738585072014e-308);
  const V s_low = ((z - square.hi) - square.lo) / twice_s;
  V u;
  Lanes::select_by_sign(u, middle, ax, s);
  V u_low;
  Lanes::select_by_sign(u_low, middle, V{} + 0.0, s_low);
  // The entry j = u * 128 rounded to the nearest integer, and h = u - j /
  // 128, exact.
  const V shifted = u * (V{} + table::kSteps) + (V{} + kRound);
  AsinTerms<V> t;
  Lanes::terms(t, shifted);
  const V h = u - (shifted - (V{} + kRound)) * (V{} + 1.0 / table::kSteps);
  V tail = t.c[6];
  for (int k = 5; k >= 0; --k) tail = tail * h + t.c[k];
  tail = tail * (h * h);
  Pair<V> linear;
  Lanes::product(linear, t.slope, h);
  // arcsin u = lead.hi + low.
  const Pair<V> lead = two_sum(t.value, linear.hi);
  const V low =
      lead.lo + (t.value_low +
                 ((linear.lo + (t.slope_low * h + t.slope * u_low)) + tail));
  // The end: base + factor arcsin u, with the factor -1 (pi/2 - arcsin u,
  // 0 <= x < 1/2), 1 (pi/2 + arcsin u, -1/2 < x < 0), 2 (2 arcsin u, x >=
  // 1/2) or -2 (pi - 2 arcsin u, x <= -1/2), its products exact. With base
  // 0, the sum below is factor (lead.hi + low) in two adds.
  V base_high;
  V base_low;
  V factor;
  V far;
  Lanes::select_by_sign(far, x, V{} + 3.141592653589793, V{} + 0.0);
  Lanes::select_by_sign(base_high, middle, V{} + 1.5707963267948966, far);
  Lanes::select_by_sign(far, x, V{} + 1.2246467991473532e-16, V{} + 0.0);
  Lanes::select_by_sign(base_low, middle, V{} + 6.123233995736766e-17, far);
  V near;
  Lanes::select_by_sign(near, x, V{} + 1.0, V{} - 1.0);
  Lanes::select_by_sign(far, x, V{} - 2.0, V{} + 2.0);
  Lanes::select_by_sign(factor, middle, near, far);
  const Pair<V> end = two_sum(base_high, factor * lead.hi);
  lanes = end.hi + (end.lo + (base_low + factor * low));
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
/// gathered from arrays, so vector loops over it vectorise. With Fma, the
/// exact products take a fused multiply-add (for code compiled for a
/// processor that has one): the same bits.
template <bool Fma = false>
[[gnu::always_inline]] inline double fixed_acos(double x) {
  using Lanes = std::conditional_t<Fma, fixed_math_detail::ScalarFmaLanes,
                                   fixed_math_detail::ScalarLanes>;
  fixed_math_detail::acos_lanes<Lanes>(x);
  return x;
}

}  // namespace qlor
