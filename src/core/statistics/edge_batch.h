// The edge-correction weights of many circles around one centre at once,
// bit for bit those of analyse_edges: the edge tests, the ratios and the
// weight formula run as select-only loops the compiler vectorises, and the
// arguments that need an arc cosine are packed, their arc cosines found in
// vectors (fixed_acos, the same bits in every width) and scattered back.
#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <vector>

#include "model/fixed_math.h"
#include "statistics/avx2.h"
#include "statistics/avx512.h"
#include "statistics/edge_weight.h"
#include "statistics/kernel_isa.h"

namespace qlor {

/// Reusable arrays of edge_weights, sized for a centre's candidates.
struct EdgeBatch {
  std::vector<double> arcs;          // the x edges' arcs, then the y edges'
  std::vector<double> arguments;     // acos arguments, packed
  std::vector<std::int32_t> places;  // where each one's arc goes
  std::vector<double> weights;       // by circle

  // The packing stores whole vectors: room for one beyond the last.
  void resize(std::size_t circles) {
    arcs.resize(2 * circles);
    arguments.resize(2 * circles + 8);
    places.resize(2 * circles + 8);
    weights.resize(circles);
  }
};

/// What a centre's circles share: the centre, the plot and the distances to
/// the plot's corners that decide whether a corner lies inside a circle.
struct EdgeCentre {
  double x;
  double y;
  double x_axis;
  double y_axis;
  double x_far;  // x_axis - x
  double y_far;  // y_axis - y
  double corner[4];
  // Whether circles up to the largest radius can cross the west or east
  // edge, and the south or north one (rounding is monotonic, so a circle
  // within that radius crosses no edge the largest one does not).
  bool x_edges;
  bool y_edges;

  /// The centre (cx, cy) of circles up to radius `reach`.
  [[gnu::always_inline]] EdgeCentre(double plot_x, double plot_y, double cx,
                                    double cy, double reach)
      : x(cx),
        y(cy),
        x_axis(plot_x),
        y_axis(plot_y),
        x_far(plot_x - cx),
        y_far(plot_y - cy),
        corner{std::sqrt(cx * cx + cy * cy), std::sqrt(cx * cx + y_far * y_far),
               std::sqrt(x_far * x_far + cy * cy),
               std::sqrt(x_far * x_far + y_far * y_far)},
        x_edges(crosses_x(reach)),
        y_edges(crosses_y(reach)) {}

  /// Whether the circle of radius d crosses the west or east edge, and the
  /// south or north one: analyse_edges' strict tests, bitwise so that the
  /// loops calling them stay free of branches.
  [[gnu::always_inline]] bool crosses_x(double d) const {
    return (x - d < 0) | (x + d > x_axis);
  }
  [[gnu::always_inline]] bool crosses_y(double d) const {
    return (y - d < 0) | (y + d > y_axis);
  }
};

/// yes ? a : b by bit masks: a select the compiler keeps as one, where a
/// conditional could be turned back into a branch around a division.
[[gnu::always_inline]] inline double select_bits(bool yes, double a, double b) {
  const std::uint64_t mask = std::uint64_t{0} - std::uint64_t{yes};
  return std::bit_cast<double>((std::bit_cast<std::uint64_t>(a) & mask) |
                               (std::bit_cast<std::uint64_t>(b) & ~mask));
}

#ifdef QLOR_WIDE_KERNELS
/// One axis of a centre, as vectors: its distance to the low edge (x or y)
/// and to the high one (x_far or y_far), and the plot's side.
struct AxisLanes {
  __m512d to_low;
  __m512d to_high;
  __m512d side;
};

/// Appends the ratios of the circles of radii dq (lanes `live`) that cross
/// one of the axis' two edges, with their places: the strict tests of
/// crosses_x / crosses_y, and the ratio to_low / dq where the low edge is
/// crossed, to_high / dq otherwise. Returns their number.
[[gnu::always_inline]] QLOR_TARGET_AVX512 inline std::size_t append_crossed(
    const AxisLanes& axis, __m512d dq, __mmask8 live, __m512i place,
    double* arguments, std::int32_t* places) {
  const __mmask8 low = _mm512_cmp_pd_mask(_mm512_sub_pd(axis.to_low, dq),
                                          _mm512_setzero_pd(), _CMP_LT_OQ);
  const __mmask8 high =
      _mm512_cmp_pd_mask(_mm512_add_pd(axis.to_low, dq), axis.side, _CMP_GT_OQ);
  const __m512d ratio =
      _mm512_div_pd(_mm512_mask_blend_pd(low, axis.to_high, axis.to_low), dq);
  return append_kept((low | high) & live, ratio, place, arguments, places);
}

/// The ratios of the crossed edges of circles q < count, packed into
/// `arguments` with their places in `arcs`, eight circles at a time with
/// AVX-512: the same tests and divisions as the plain loops of
/// edge_weights, appended with append_kept; only the x edges' with X, only
/// the y edges' with Y. Returns their number. Called, not inlined: one call
/// per centre.
template <bool X, bool Y>
QLOR_TARGET_AVX512 inline std::size_t pack_crossed_avx512(
    const EdgeCentre& c, const double* d, std::size_t count, double* arguments,
    std::int32_t* places) {
  const AxisLanes x{_mm512_set1_pd(c.x), _mm512_set1_pd(c.x_far),
                    _mm512_set1_pd(c.x_axis)};
  const AxisLanes y{_mm512_set1_pd(c.y), _mm512_set1_pd(c.y_far),
                    _mm512_set1_pd(c.y_axis)};
  const __m512i lanes =
      _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 0, 0, 0, 0, 0, 0, 0, 0);
  const __m512i y_half = _mm512_set1_epi32(static_cast<int>(count));
  std::size_t packed = 0;
  for (std::size_t q = 0; q < count; q += 8) {
    const __mmask8 live = live_lanes(count - q);
    const __m512d dq = _mm512_maskz_loadu_pd(live, d + q);
    const __m512i x_place =
        _mm512_add_epi32(lanes, _mm512_set1_epi32(static_cast<int>(q)));
    if constexpr (X) {
      packed += append_crossed(x, dq, live, x_place, arguments + packed,
                               places + packed);
    }
    if constexpr (Y) {
      packed += append_crossed(y, dq, live, _mm512_add_epi32(x_place, y_half),
                               arguments + packed, places + packed);
    }
  }
  return packed;
}

/// One axis of a centre for AVX2 (AxisLanes).
struct AxisLanes4 {
  __m256d to_low;
  __m256d to_high;
  __m256d side;
};

/// append_crossed for AVX2, four circles at a time.
[[gnu::always_inline]] QLOR_TARGET_AVX2 inline std::size_t append_crossed_avx2(
    const AxisLanes4& axis, __m256d dq, __m256i live, __m128i place,
    double* arguments, std::int32_t* places) {
  const __m256d low = _mm256_cmp_pd(_mm256_sub_pd(axis.to_low, dq),
                                    _mm256_setzero_pd(), _CMP_LT_OQ);
  const __m256d high =
      _mm256_cmp_pd(_mm256_add_pd(axis.to_low, dq), axis.side, _CMP_GT_OQ);
  const __m256d ratio =
      _mm256_div_pd(_mm256_blendv_pd(axis.to_high, axis.to_low, low), dq);
  const int keep = _mm256_movemask_pd(
      _mm256_and_pd(_mm256_or_pd(low, high), _mm256_castsi256_pd(live)));
  return append_kept_avx2(keep, ratio, place, arguments, places);
}

/// pack_crossed_avx512 for AVX2, four circles at a time.
template <bool X, bool Y>
QLOR_TARGET_AVX2 inline std::size_t pack_crossed_avx2(const EdgeCentre& c,
                                                      const double* d,
                                                      std::size_t count,
                                                      double* arguments,
                                                      std::int32_t* places) {
  const AxisLanes4 x{_mm256_set1_pd(c.x), _mm256_set1_pd(c.x_far),
                     _mm256_set1_pd(c.x_axis)};
  const AxisLanes4 y{_mm256_set1_pd(c.y), _mm256_set1_pd(c.y_far),
                     _mm256_set1_pd(c.y_axis)};
  const __m128i lanes = _mm_setr_epi32(0, 1, 2, 3);
  const __m128i y_half = _mm_set1_epi32(static_cast<int>(count));
  std::size_t packed = 0;
  for (std::size_t q = 0; q < count; q += 4) {
    const __m256i live = live_lanes_avx2(count - q);
    const __m256d dq = _mm256_maskload_pd(d + q, live);
    const __m128i x_place =
        _mm_add_epi32(lanes, _mm_set1_epi32(static_cast<int>(q)));
    if constexpr (X) {
      packed += append_crossed_avx2(x, dq, live, x_place, arguments + packed,
                                    places + packed);
    }
    if constexpr (Y) {
      packed += append_crossed_avx2(y, dq, live, _mm_add_epi32(x_place, y_half),
                                    arguments + packed, places + packed);
    }
  }
  return packed;
}

#endif

/// out[i] = fixed_acos(in[i]) for i < n (in may be out), at the kernel's
/// vector width W: with 4 (an AVX2 kernel only) by arc_cosines_avx2, which
/// needs room for a whole vector beyond n in both arrays; otherwise a loop
/// the compiler vectorises, its exact products by fused multiply-adds with
/// 8 (an AVX-512 kernel only). Every way gives the same bits.
template <int W>
[[gnu::always_inline]] inline void arc_cosines(const double* in, double* out,
                                               std::size_t n) {
#ifdef QLOR_WIDE_KERNELS
  if constexpr (W == 4) {
    arc_cosines_avx2(in, out, n);
    return;
  }
#endif
  for (std::size_t i = 0; i < n; ++i) out[i] = fixed_acos<W == 8>(in[i]);
}

/// batch.weights[q] = analyse_edges(x_axis, y_axis, x, y, d[q]).w_tot for
/// q < count, with the same IEEE operations on the same operands: a ratio
/// is numerator / d whichever edge it belongs to, an edge not crossed
/// contributes an arc of +0 (so a + 0 is a, and a circle that crosses
/// nothing gets 1 / (1 - 0) = 1), and the corner test compares d with the
/// same four square roots. Returns the number of acos calls.
/// With W == 8 (an AVX-512 kernel only) the packing is pack_crossed_avx512,
/// with W == 4 (an AVX2 kernel only) pack_crossed_avx2, otherwise plain
/// loops.
/// X and Y say whether the centre's circles can cross x edges and y edges
/// (edge_weights picks them).
template <int W, bool X, bool Y>
[[gnu::always_inline]] inline std::size_t edge_weights_of(const EdgeCentre& c,
                                                          const double* d,
                                                          std::size_t count,
                                                          EdgeBatch& batch) {
  double* arcs = batch.arcs.data();
  double* arguments = batch.arguments.data();
  std::int32_t* places = batch.places.data();
  double* weights = batch.weights.data();
  std::size_t packed = 0;
#ifdef QLOR_WIDE_KERNELS
  if constexpr (W == 8 || W == 4) {
    // Only the halves of arcs that the weights below read.
    std::fill(arcs + (X ? 0 : count), arcs + (Y ? 2 * count : count), 0.0);
    packed = W == 8 ? pack_crossed_avx512<X, Y>(c, d, count, arguments, places)
                    : pack_crossed_avx2<X, Y>(c, d, count, arguments, places);
  } else
#endif
  {
    // The ratios of both edges, crossed or not, and the arcs cleared.
    for (std::size_t q = 0; q < count; ++q) {
      const double dq = d[q];
      const bool west = c.x - dq < 0;
      const bool south = c.y - dq < 0;
      arguments[2 * q] = (west ? c.x : c.x_far) / dq;
      arguments[2 * q + 1] = (south ? c.y : c.y_far) / dq;
      arcs[q] = 0.0;
      arcs[count + q] = 0.0;
    }
    // Packed in place: the ratios of crossed edges only, in order.
    for (std::size_t q = 0; q < count; ++q) {
      const double dq = d[q];
      const bool x_crossed = c.crosses_x(dq);
      const bool y_crossed = c.crosses_y(dq);
      const double ex = arguments[2 * q];
      const double ey = arguments[2 * q + 1];
      arguments[packed] = ex;
      places[packed] = static_cast<std::int32_t>(q);
      packed += x_crossed ? 1 : 0;
      arguments[packed] = ey;
      places[packed] = static_cast<std::int32_t>(count + q);
      packed += y_crossed ? 1 : 0;
    }
  }
  // The arc cosines in vectors, then each to its circle.
  arc_cosines<W>(arguments, arguments, packed);
  for (std::size_t i = 0; i < packed; ++i) {
    arcs[places[i]] = arguments[i];
  }
  // Ten-digit pi on purpose, as in analyse_edges.
  if constexpr (!X || !Y) {
    // Circles that can cross only one pair of edges: the other arc is +0,
    // and a + 0 is a, so f is the one arc over pi.
    const double* arc = arcs + (X ? 0 : count);
    for (std::size_t q = 0; q < count; ++q) {
      weights[q] = 1 / (1 - arc[q] / kPi);
    }
    return packed;
  }
  // The weights: both formulas for each circle, then selects, so that the
  // loop has no branch. The selects pick a numerator and a denominator
  // before the one division: a quotient is the same correctly rounded
  // value whichever way its operands were chosen.
  for (std::size_t q = 0; q < count; ++q) {
    const double dq = d[q];
    const bool x_crossed = c.crosses_x(dq);
    const bool y_crossed = c.crosses_y(dq);
    const double ax = arcs[q];
    const double ay = arcs[count + q];
    const bool corner_inside = (dq >= c.corner[0]) | (dq >= c.corner[1]) |
                               (dq >= c.corner[2]) | (dq >= c.corner[3]);
    const bool both = x_crossed & y_crossed;
    const double two_edges =
        select_bits(corner_inside, ax + ay + kPi / 2.0, 2 * ax + 2 * ay);
    const double f = select_bits(both, two_edges, ax + ay) /
                     select_bits(both, 2.0 * kPi, kPi);
    weights[q] = 1 / (1 - f);
  }
  return packed;
}

/// edge_weights_of for the edges the centre's circles can cross. W is the
/// kernel's vector width; the default, 1, is the plain loops, which any
/// caller may run whatever the processor.
template <int W = 1>
[[gnu::always_inline]] inline std::size_t edge_weights(const EdgeCentre& c,
                                                       const double* d,
                                                       std::size_t count,
                                                       EdgeBatch& batch) {
  if (!c.y_edges) return edge_weights_of<W, true, false>(c, d, count, batch);
  if (!c.x_edges) return edge_weights_of<W, false, true>(c, d, count, batch);
  return edge_weights_of<W, true, true>(c, d, count, batch);
}

}  // namespace qlor
