// The pair loop shared by the four estimators: every qualifying ordered pair
// (j, k) within the largest distance, visited centre j outer and k inner in
// ascending order, so that each interval's sum adds its weights in exactly
// the order of the all-pairs loop. Each pair's distance and edge analysis are
// computed once per pattern and its weight added to every interval whose t
// reaches the distance.
//
// A centre's partners are found in two steps: a scan of the grid cells its
// circle can reach, written as plain loops over coordinate arrays so that
// the compiler vectorises the distances, and a bitmap over the partner
// indices that puts the survivors back into ascending order.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "model/analysis_state.h"
#include "statistics/avx2.h"
#include "statistics/avx512.h"
#include "statistics/edge_batch.h"
#include "statistics/edge_weight.h"
#include "statistics/interval_sums.h"

namespace qlor {

/// The points of a pattern, or of one species, bucketed into cells about a
/// quarter of the largest distance wide and stored cell after cell, row after
/// row, as separate coordinate arrays: the candidates of a centre within one
/// row of cells are one contiguous run. Within a cell, points keep ascending
/// index. Built anew for every pattern; the arrays are reused.
class PointGrid {
 public:
  /// Buckets the points whose species key (species != 0) equals `key`, or
  /// all points when key < 0.
  void build(const std::vector<PointRecord>& points, double x_axis,
             double y_axis, double reach, int key);

  [[nodiscard]] std::size_t size() const { return ids_.size(); }
  [[nodiscard]] int cells_x() const { return cells_x_; }
  [[nodiscard]] int cells_y() const { return cells_y_; }
  [[nodiscard]] int cell_x(double x) const {
    return clamp_cell(x / side_x_, cells_x_);
  }
  [[nodiscard]] int cell_y(double y) const {
    return clamp_cell(y / side_y_, cells_y_);
  }
  [[nodiscard]] double side_y() const { return side_y_; }
  /// Position of the first point of cell (gx, gy); cell (gx, gy) ends where
  /// the next one begins, and cells are numbered row after row.
  [[nodiscard]] std::int32_t cell_begin(int gx, int gy) const {
    return starts_[static_cast<std::size_t>(gy) *
                       static_cast<std::size_t>(cells_x_) +
                   static_cast<std::size_t>(gx)];
  }
  [[nodiscard]] std::int32_t cell_end(int gx, int gy) const {
    return starts_[static_cast<std::size_t>(gy) *
                       static_cast<std::size_t>(cells_x_) +
                   static_cast<std::size_t>(gx) + 1];
  }
  [[nodiscard]] const double* xs() const { return xs_.data(); }
  [[nodiscard]] const double* ys() const { return ys_.data(); }
  [[nodiscard]] const std::int32_t* ids() const { return ids_.data(); }

 private:
  static int clamp_cell(double q, int cells) {
    if (!(q >= 0)) return 0;
    if (q >= cells) return cells - 1;
    return std::min(static_cast<int>(q), cells - 1);
  }
  int cells_x_ = 1;
  int cells_y_ = 1;
  double side_x_ = 1;
  double side_y_ = 1;
  std::vector<std::int32_t> starts_;
  std::vector<std::int32_t> cell_of_;
  std::vector<double> xs_;
  std::vector<double> ys_;
  std::vector<std::int32_t> ids_;
};

/// The distances of the run's intervals, t_i = (i + t_min_steps) * t_interval.
[[nodiscard]] std::vector<double> interval_distances(
    const AnalysisState& state);

/// The first interval whose t reaches d, guessed from 1 / step and then
/// settled against the very t values, so that rounding never misplaces a
/// pair at an exact boundary. t.size() when there is none.
[[nodiscard]] inline std::size_t first_interval_from_step(
    const std::vector<double>& t, double inverse_step, std::int32_t t_min_steps,
    double d) {
  const std::size_t n = t.size();
  // A truncating conversion is cheaper than ceil; the loops below settle
  // the guess either way.
  const double guess = static_cast<double>(static_cast<std::int64_t>(
                           std::min(d * inverse_step, 9.0e18))) -
                       t_min_steps;
  std::size_t i = 0;
  if (guess >= static_cast<double>(n)) {
    i = n;
  } else if (guess > 0) {
    i = static_cast<std::size_t>(guess);
  }
  while (i > 0 && t[i - 1] >= d) --i;
  while (i < n && t[i] < d) ++i;
  return i;
}

/// The run's distances as arithmetic, t_i = (i + t_min_steps) * step, the
/// very expression that forms them, so that first intervals can be found
/// without looking distances up.
struct IntervalLattice {
  double step;
  double inverse_step;
  double t_min_steps;
  double last;  // index of the last interval

  explicit IntervalLattice(const AnalysisState& state)
      : step(state.t_interval),
        inverse_step(1 / state.t_interval),
        t_min_steps(state.t_min_steps),
        last(state.last_interval) {}
};

/// The first interval of one distance, as first_intervals finds it: the
/// guess trunc(d / step) - t_min_steps clamped to the intervals, moved up
/// one where its t is below d, and kept only where the t values on either
/// side confirm it; -1 otherwise. i0 + t_min_steps is an integer, so every
/// t here is the very product that interval_distances forms.
[[gnu::always_inline]] inline std::int32_t first_interval(
    const IntervalLattice& lattice, double dq) {
  const double step = lattice.step;
  const double base = lattice.t_min_steps;
  const double guess = std::trunc(dq * lattice.inverse_step) - base;
  const double i0 = std::min(std::max(guess, 0.0), lattice.last);
  const double a = i0 + base;
  const bool below = a * step < dq;
  const bool settled = below ? i0 + 1 <= lattice.last && (a + 1) * step >= dq
                             : i0 == 0 || (a - 1) * step < dq;
  return settled ? static_cast<std::int32_t>(below ? i0 + 1 : i0) : -1;
}

/// The truncation of first_intervals without an instruction for it: through
/// 32-bit integers, with the product capped at 2^30 (a capped guess is
/// either confirmed as the right interval or left unsettled, like any
/// other).
struct CappedTruncation {
  [[gnu::always_inline]] static void truncate(Chunk<4>& product) {
    using Whole = std::int32_t __attribute__((vector_size(16)));
    const double cap = 1073741824.0;  // 2^30
    product = product < cap ? product : cap;
    product = __builtin_convertvector(__builtin_convertvector(product, Whole),
                                      Chunk<4>);
  }
};

/// first[q] = the first interval whose t reaches d[q], for q < count, as
/// first_interval_from_step finds it, or -1 where the guess is not
/// confirmed (rare; the caller then searches). Four distances at a time in
/// vectors, the same tests as first_interval, the truncation Truncation's
/// (passed by reference: it may be compiled for an instruction set of its
/// own).
template <class Truncation>
[[gnu::always_inline]] inline void first_intervals_of(
    const IntervalLattice& lattice, const double* d, std::size_t count,
    std::int32_t* first) {
  using Lanes = Chunk<4>;
  using Whole = std::int32_t __attribute__((vector_size(16)));
  const double step = lattice.step;
  const double base = lattice.t_min_steps;
  const std::size_t vectors = count / 4 * 4;
  for (std::size_t q = 0; q < vectors; q += 4) {
    Lanes dq;
    std::memcpy(&dq, d + q, sizeof dq);
    Lanes product = dq * lattice.inverse_step;
    Truncation::truncate(product);
    const Lanes guess = product - base;
    Lanes i0 = guess < 0.0 ? Lanes{} : guess;
    i0 = lattice.last < i0 ? Lanes{} + lattice.last : i0;
    const Lanes a = i0 + base;
    const auto below = a * step < dq;
    const auto settled =
        (below & (i0 + 1 <= lattice.last) & ((a + 1) * step >= dq)) |
        (~below & ((i0 == 0) | ((a - 1) * step < dq)));
    const Lanes f = below ? i0 + 1 : i0;
    const Whole result =
        __builtin_convertvector(settled ? f : Lanes{} - 1, Whole);
    std::memcpy(first + q, &result, sizeof result);
  }
  for (std::size_t q = vectors; q < count; ++q) {
    first[q] = first_interval(lattice, d[q]);
  }
}

/// first_intervals_of with the capped truncation, for any processor.
inline void first_intervals(const IntervalLattice& lattice, const double* d,
                            std::size_t count, std::int32_t* first) {
  first_intervals_of<CappedTruncation>(lattice, d, count, first);
}

#ifdef QLOR_WIDE_KERNELS
/// The exact truncation of AVX (vroundpd), as AVX-512's roundscale.
struct Avx2Truncation {
  QLOR_TARGET_AVX2 static void truncate(Chunk<4>& product) {
    product = _mm256_round_pd(product, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
  }
};

/// first_intervals with AVX2's exact truncation. Called, not inlined: one
/// call per centre (flattened, so that the truncation is inlined).
[[gnu::flatten]] QLOR_TARGET_AVX2 inline void first_intervals_avx2(
    const IntervalLattice& lattice, const double* d, std::size_t count,
    std::int32_t* first) {
  first_intervals_of<Avx2Truncation>(lattice, d, count, first);
}

/// first_intervals eight distances at a time with AVX-512, the truncation
/// an exact one (roundscale). Stores whole vectors: `first` has room for one
/// beyond count. Called, not inlined: one call per centre.
QLOR_TARGET_AVX512 inline void first_intervals_avx512(
    const IntervalLattice& lattice, const double* d, std::size_t count,
    std::int32_t* first) {
  const __m512d inverse_step = _mm512_set1_pd(lattice.inverse_step);
  const __m512d step = _mm512_set1_pd(lattice.step);
  const __m512d base = _mm512_set1_pd(lattice.t_min_steps);
  const __m512d last = _mm512_set1_pd(lattice.last);
  const __m512d zero = _mm512_setzero_pd();
  const __m512d one = _mm512_set1_pd(1.0);
  const __m512d unsettled = _mm512_set1_pd(-1.0);
  for (std::size_t q = 0; q < count; q += 8) {
    const __m512d dq = _mm512_maskz_loadu_pd(live_lanes(count - q), d + q);
    const __m512d guess = _mm512_sub_pd(
        _mm512_roundscale_pd(_mm512_mul_pd(dq, inverse_step),
                             _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC),
        base);
    const __m512d i0 = _mm512_min_pd(_mm512_max_pd(guess, zero), last);
    const __m512d a = _mm512_add_pd(i0, base);
    const __m512d up = _mm512_add_pd(i0, one);
    const __mmask8 below =
        _mm512_cmp_pd_mask(_mm512_mul_pd(a, step), dq, _CMP_LT_OQ);
    const __mmask8 up_confirmed =
        _mm512_cmp_pd_mask(up, last, _CMP_LE_OQ) &
        _mm512_cmp_pd_mask(_mm512_mul_pd(_mm512_add_pd(a, one), step), dq,
                           _CMP_GE_OQ);
    const __mmask8 down_confirmed =
        _mm512_cmp_pd_mask(i0, zero, _CMP_EQ_OQ) |
        _mm512_cmp_pd_mask(_mm512_mul_pd(_mm512_sub_pd(a, one), step), dq,
                           _CMP_LT_OQ);
    const auto settled = static_cast<__mmask8>((below & up_confirmed) |
                                               (~below & down_confirmed));
    const __m512d f = _mm512_mask_blend_pd(below, i0, up);
    _mm256_storeu_si256(
        reinterpret_cast<__m256i*>(first + q),
        _mm512_cvttpd_epi32(_mm512_mask_blend_pd(settled, unsettled, f)));
  }
}
#endif

/// Reusable scratch space of the pair loop (one per thread).
struct PairScratch {
  PointGrid grids[2];
  std::vector<std::uint64_t> marks;     // partners of the current centre
  std::vector<double> distance;         // by partner index
  std::vector<double> weight;           // by partner index
  std::vector<double> first;            // by partner: first interval
  std::vector<double> candidate_d;      // distances of a centre's candidates
  std::vector<std::int32_t> survivors;  // point indices within reach
  std::vector<double> survivor_d;       // and their distances
  std::vector<std::int32_t> survivor_first;  // and their first intervals
  EdgeBatch edges;                           // the survivors' edge weights
  std::vector<double> scale;  // by point: 1 / intensity (inhomogeneous)
};

/// Builds the grids for a pattern: one of all points, or for a bivariate
/// pattern one per species. Sizes the per-partner arrays.
void prepare_pair_scratch(const std::vector<PointRecord>& points, double x_axis,
                          double y_axis, double reach, bool bivariate,
                          PairScratch& scratch);

/// The grid that holds the partners of a centre of the given species.
[[nodiscard]] inline const PointGrid& partner_grid(const PairScratch& scratch,
                                                   bool bivariate,
                                                   std::int32_t species) {
  return scratch.grids[bivariate && species == 0 ? 1 : 0];
}

/// The rows of cells a circle of radius reach around y can reach. Rows and
/// cells are widened a little beyond the circle, so that rounding in the
/// bounds never leaves out a point the exact test d <= reach keeps.
struct ReachRows {
  double wide;
  int lo;
  int hi;

  [[gnu::always_inline]] ReachRows(const PointGrid& grid, double y,
                                   double reach)
      : wide(reach * (1 + 1e-9) + 1e-300),
        lo(grid.cell_y(y - wide)),
        hi(grid.cell_y(y + wide)) {}
};

/// The grid positions [begin, stop) of row gy's cells that the circle around
/// (x, y) can reach: one contiguous run of candidates.
struct RowSpan {
  std::int32_t begin;
  std::int32_t stop;
};
[[gnu::always_inline]] inline RowSpan row_span(const PointGrid& grid,
                                               const ReachRows& rows, double x,
                                               double y, int gy) {
  // The nearest y of the row's band bounds the chord the circle cuts;
  // the outermost rows also hold any point beyond the plot's sides.
  const double band_lo = gy == 0 ? -HUGE_VAL : gy * grid.side_y();
  const double band_hi =
      gy == grid.cells_y() - 1 ? HUGE_VAL : (gy + 1) * grid.side_y();
  const double gap = std::max({band_lo - y, y - band_hi, 0.0});
  const double half =
      std::sqrt(std::max(rows.wide * rows.wide - gap * gap, 0.0)) * (1 + 1e-9) +
      1e-300;
  return {grid.cell_begin(grid.cell_x(x - half), gy),
          grid.cell_end(grid.cell_x(x + half), gy)};
}

#ifdef QLOR_WIDE_KERNELS
/// The candidates of one row run [begin, begin + span) within reach of
/// (x, y), eight at a time with AVX-512: the same distance expression and
/// test as collect_within_reach's loops, the survivors' point indices and
/// distances appended with append_kept (the arrays have room for one vector
/// beyond their last). Returns their number. Called, not
/// inlined: one call per row of cells.
QLOR_TARGET_AVX512 inline std::size_t collect_row_avx512(
    const double* xs, const double* ys, const std::int32_t* ids,
    std::int32_t begin, std::size_t span, double x, double y, double reach,
    std::int32_t* survivors, double* survivor_d) {
  const __m512d cx = _mm512_set1_pd(x);
  const __m512d cy = _mm512_set1_pd(y);
  const __m512d limit = _mm512_set1_pd(reach);
  std::size_t count = 0;
  for (std::size_t i = 0; i < span; i += 8) {
    const __mmask8 live = live_lanes(span - i);
    const std::size_t at = static_cast<std::size_t>(begin) + i;
    const __m512d dx = _mm512_sub_pd(cx, _mm512_maskz_loadu_pd(live, xs + at));
    const __m512d dy = _mm512_sub_pd(cy, _mm512_maskz_loadu_pd(live, ys + at));
    const __m512d d = _mm512_sqrt_pd(
        _mm512_add_pd(_mm512_mul_pd(dx, dx), _mm512_mul_pd(dy, dy)));
    const __mmask8 within = _mm512_cmp_pd_mask(d, limit, _CMP_LE_OQ) & live;
    count += append_kept(within, d, _mm512_maskz_loadu_epi32(live, ids + at),
                         survivor_d + count, survivors + count);
  }
  return count;
}
#endif

#ifdef QLOR_WIDE_KERNELS
/// collect_row_avx512 for AVX2, four candidates at a time, the survivors
/// appended with append_kept_avx2.
QLOR_TARGET_AVX2 inline std::size_t collect_row_avx2(
    const double* xs, const double* ys, const std::int32_t* ids,
    std::int32_t begin, std::size_t span, double x, double y, double reach,
    std::int32_t* survivors, double* survivor_d) {
  const __m256d cx = _mm256_set1_pd(x);
  const __m256d cy = _mm256_set1_pd(y);
  const __m256d limit = _mm256_set1_pd(reach);
  std::size_t count = 0;
  for (std::size_t i = 0; i < span; i += 4) {
    const __m256i live = live_lanes_avx2(span - i);
    const std::size_t at = static_cast<std::size_t>(begin) + i;
    const __m256d dx = _mm256_sub_pd(cx, _mm256_maskload_pd(xs + at, live));
    const __m256d dy = _mm256_sub_pd(cy, _mm256_maskload_pd(ys + at, live));
    const __m256d d = _mm256_sqrt_pd(
        _mm256_add_pd(_mm256_mul_pd(dx, dx), _mm256_mul_pd(dy, dy)));
    const int within = _mm256_movemask_pd(_mm256_and_pd(
        _mm256_cmp_pd(d, limit, _CMP_LE_OQ), _mm256_castsi256_pd(live)));
    // The four ids' lanes: the low halves of the live mask's 64-bit lanes.
    const __m128i id_live = _mm256_castsi256_si128(_mm256_permutevar8x32_epi32(
        live, _mm256_setr_epi32(0, 2, 4, 6, 0, 0, 0, 0)));
    const __m128i id = _mm_maskload_epi32(ids + at, id_live);
    count +=
        append_kept_avx2(within, d, id, survivor_d + count, survivors + count);
  }
  return count;
}
#endif

/// Collects the candidates within reach of the point (x, y) in `grid`
/// (a centre in the grid itself among them): their point indices in
/// scratch.survivors and distances in scratch.survivor_d, in grid order.
/// Returns their number. With W == 8 (an AVX-512 kernel only) each row is
/// collect_row_avx512's, with W == 4 (an AVX2 kernel only)
/// collect_row_avx2's; the default, 1, is the plain loops, which any caller
/// may run whatever the processor.
template <int W = 1>
[[gnu::always_inline]] inline std::size_t collect_within_reach(
    const PointGrid& grid, double x, double y, double reach,
    PairScratch& scratch) {
  const double* xs = grid.xs();
  const double* ys = grid.ys();
  const std::int32_t* ids = grid.ids();
  double* candidate_d = scratch.candidate_d.data();
  std::int32_t* survivors = scratch.survivors.data();
  double* survivor_d = scratch.survivor_d.data();
  const ReachRows rows(grid, y, reach);
  std::size_t count = 0;
  for (int gy = rows.lo; gy <= rows.hi; ++gy) {
    const auto [begin, stop] = row_span(grid, rows, x, y, gy);
    const auto span = static_cast<std::size_t>(stop - begin);
#ifdef QLOR_WIDE_KERNELS
    if constexpr (W == 8) {
      count += collect_row_avx512(xs, ys, ids, begin, span, x, y, reach,
                                  survivors + count, survivor_d + count);
      continue;
    }
    if constexpr (W == 4) {
      count += collect_row_avx2(xs, ys, ids, begin, span, x, y, reach,
                                survivors + count, survivor_d + count);
      continue;
    }
#endif
    for (std::size_t i = 0; i < span; ++i) {
      const double dx = x - xs[static_cast<std::size_t>(begin) + i];
      const double dy = y - ys[static_cast<std::size_t>(begin) + i];
      candidate_d[i] = std::sqrt(dx * dx + dy * dy);
    }
    for (std::size_t i = 0; i < span; ++i) {
      survivors[count] = ids[static_cast<std::size_t>(begin) + i];
      survivor_d[count] = candidate_d[i];
      count += candidate_d[i] <= reach ? 1 : 0;
    }
  }
  return count;
}

/// The partners of one centre, marked in a bitmap over partner indices
/// (scratch.marks, all clear between centres) and visited in ascending
/// index.
class PartnerMarks {
 public:
  explicit PartnerMarks(std::vector<std::uint64_t>& words)
      : words_(words.data()), lo_(words.size()) {}

  [[gnu::always_inline]] void mark(std::size_t k) {
    words_[k >> 6] |= std::uint64_t{1} << (k & 63);
    lo_ = std::min(lo_, k >> 6);
    hi_ = std::max(hi_, k >> 6);
  }
  [[nodiscard]] bool empty() const { return lo_ > hi_; }
  /// Calls visit(k) for every marked partner in ascending k, clearing the
  /// marks.
  template <class Visit>
  [[gnu::always_inline]] void drain(Visit&& visit) {
    for (std::size_t w = lo_; w <= hi_; ++w) {
      std::uint64_t bits = words_[w];
      words_[w] = 0;
      while (bits != 0) {
        visit((w << 6) + static_cast<std::size_t>(__builtin_ctzll(bits)));
        bits &= bits - 1;
      }
    }
  }

 private:
  std::uint64_t* words_;
  std::size_t lo_;
  std::size_t hi_ = 0;
};

/// The points within reach of one centre in the grid that holds its partners,
/// in the grid's order: the centre itself is among them when it lies in that
/// grid. The arrays live in the pair scratch until the next centre.
struct CentreCandidates {
  std::size_t j;  // the centre's index
  const PointRecord& centre;
  std::size_t count;           // candidates within reach
  const std::int32_t* points;  // the candidates' point indices
  const double* d;             // and their distances from the centre

  /// The point index of candidate q.
  [[nodiscard]] std::size_t point(std::size_t q) const {
    return static_cast<std::size_t>(points[q]);
  }
};

/// The one pair loop of every estimator: builds the grids of the pattern,
/// then calls visit(candidates) for each centre j in ascending order with the
/// points within `reach` (d <= reach) of the grid that holds its partners:
/// all points, or for a bivariate pattern those of the other species.
/// W is the kernel's vector width (collect_within_reach; 1, the default, for
/// callers outside the instruction-set variants).
template <int W = 1, class VisitCentre>
[[gnu::always_inline]] inline void for_each_centre(
    const std::vector<PointRecord>& points, double x_axis, double y_axis,
    double reach, bool bivariate, PairScratch& scratch, VisitCentre&& visit) {
  const std::size_t n = points.size();
  if (n < 2 || !(reach >= 0)) return;
  prepare_pair_scratch(points, x_axis, y_axis, reach, bivariate, scratch);
  for (std::size_t j = 0; j < n; ++j) {
    const PointRecord& centre = points[j];
    const PointGrid& grid = partner_grid(scratch, bivariate, centre.species);
    const std::size_t count =
        collect_within_reach<W>(grid, centre.x, centre.y, reach, scratch);
    visit(CentreCandidates{j, centre, count, scratch.survivors.data(),
                           scratch.survivor_d.data()});
  }
}

/// Marks the partners of a centre, its candidates but itself, for which
/// keep(k, q) holds: k is the partner's index and q its place among the
/// candidates, and keep stores by k what the visit of the partner needs.
template <class Keep>
[[gnu::always_inline]] inline PartnerMarks mark_partners(
    const CentreCandidates& candidates, std::vector<std::uint64_t>& marks,
    Keep&& keep) {
  PartnerMarks partners(marks);
  for (std::size_t q = 0; q < candidates.count; ++q) {
    const std::size_t k = candidates.point(q);
    if (k != candidates.j && keep(k, q)) partners.mark(k);
  }
  return partners;
}

/// The first intervals of one centre's candidates: found for all of them in
/// one pass over the interval lattice, and searched among the t values for
/// the rare candidate whose guess that pass leaves unsettled.
class IntervalFinder {
 public:
  IntervalFinder(const AnalysisState& state, const std::vector<double>& t)
      : lattice_(state), t_(t), t_min_steps_(state.t_min_steps) {}

  /// Finds the first intervals of the candidates into scratch.survivor_first,
  /// eight at a time with W == 8 (an AVX-512 kernel only), four with W == 4
  /// (an AVX2 kernel only); the default, 1, is the plain loops.
  template <int W = 1>
  [[gnu::always_inline]] void find(const CentreCandidates& candidates,
                                   PairScratch& scratch) {
    first_ = scratch.survivor_first.data();
    d_ = candidates.d;
#ifdef QLOR_WIDE_KERNELS
    if constexpr (W == 8) {
      first_intervals_avx512(lattice_, d_, candidates.count, first_);
      return;
    } else if constexpr (W == 4) {
      first_intervals_avx2(lattice_, d_, candidates.count, first_);
      return;
    }
#endif
    first_intervals(lattice_, d_, candidates.count, first_);
  }
  /// The first interval whose t reaches candidate q's distance; t.size()
  /// when there is none.
  [[gnu::always_inline]] [[nodiscard]] std::size_t first(std::size_t q) const {
    const std::int32_t f = first_[q];
    return f >= 0 ? static_cast<std::size_t>(f)
                  : first_interval_from_step(t_, lattice_.inverse_step,
                                             t_min_steps_, d_[q]);
  }

 private:
  IntervalLattice lattice_;
  const std::vector<double>& t_;
  std::int32_t t_min_steps_;
  std::int32_t* first_ = nullptr;
  const double* d_ = nullptr;
};

/// Calls visit(j, k, d) for every ordered pair j != k within `reach`
/// (d <= reach), where `bivariate` restricts pairs to different species.
/// Order: j ascending, and for each j, k ascending.
template <class Visit>
void for_each_close_pair(const std::vector<PointRecord>& points, double x_axis,
                         double y_axis, double reach, bool bivariate,
                         PairScratch& scratch, Visit&& visit) {
  for_each_centre(points, x_axis, y_axis, reach, bivariate, scratch,
                  [&](const CentreCandidates& candidates) {
                    double* distance = scratch.distance.data();
                    PartnerMarks partners =
                        mark_partners(candidates, scratch.marks,
                                      [&](std::size_t k, std::size_t q) {
                                        distance[k] = candidates.d[q];
                                        return true;
                                      });
                    partners.drain([&](std::size_t k) {
                      visit(candidates.j, k, distance[k]);
                    });
                  });
}

/// Whether the circle of radius reach around (x, y) lies within the plot.
/// Such a centre crosses no edge at any smaller radius either (rounding is
/// monotonic), so its pairs skip the edge analysis.
[[nodiscard]] inline bool circle_inside(double x_axis, double y_axis, double x,
                                        double y, double reach) {
  return x - reach >= 0 && x + reach <= x_axis && y - reach >= 0 &&
         y + reach <= y_axis;
}

/// Calls visit(j, k, first, edges) for every qualifying ordered pair within
/// the largest distance t.back(), in the order of for_each_close_pair: first
/// is the first interval whose t reaches the pair's distance d, and edges the
/// analysis of the circle of radius d around the centre j. `bivariate`
/// restricts pairs to points of different species.
template <class Visit>
void for_each_weighted_pair(const AnalysisState& state,
                            const std::vector<double>& t, bool bivariate,
                            PairScratch& scratch, Visit&& visit) {
  if (t.empty()) return;
  const double x_axis = state.x_axis;
  const double y_axis = state.y_axis;
  const double reach = t.back();
  const EdgeAnalysis no_edge;
  const double inverse_step = 1 / state.t_interval;
  for_each_centre(
      state.points, x_axis, y_axis, reach, bivariate, scratch,
      [&](const CentreCandidates& candidates) {
        double* distance = scratch.distance.data();
        PartnerMarks partners = mark_partners(
            candidates, scratch.marks, [&](std::size_t k, std::size_t q) {
              distance[k] = candidates.d[q];
              return true;
            });
        const double x = candidates.centre.x;
        const double y = candidates.centre.y;
        const bool interior = circle_inside(x_axis, y_axis, x, y, reach);
        partners.drain([&](std::size_t k) {
          // Searched pair by pair: these estimators run only the baseline
          // variant, where IntervalFinder's pass over all candidates costs
          // more than it saves.
          const double d = distance[k];
          const std::size_t first =
              first_interval_from_step(t, inverse_step, state.t_min_steps, d);
          if (first >= t.size()) return;
          visit(candidates.j, k, first,
                interior ? no_edge : analyse_edges(x_axis, y_axis, x, y, d));
        });
      });
}

}  // namespace qlor
