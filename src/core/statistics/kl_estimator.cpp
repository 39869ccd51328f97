// The non-directional estimator: each pair adds its edge-corrected weight,
// taken around its centre, to every interval whose t reaches its distance.
//
// The steps of one pattern (estimate):
//   1. the run's distances and zeroed sums for each group of centres;
//   2. for every centre, its candidates within the largest distance and
//      their first intervals, from the pair loop of pair_kernel.h;
//   3. a centre whose circle lies inside the plot adds 1 per pair, counted
//      by first interval (add_interior_centre);
//   4. any other centre adds each pair's edge-corrected weight in ascending
//      partner index (add_edge_centre);
//   5. the sums go to the pattern's arrays, and K and L follow from them
//      (store_kl).
// Each interval's sum adds its weights in the order of the all-pairs loop,
// centre j outer and k inner, so every variant gives the same bits.
#include "statistics/kl_estimator.h"

#include <algorithm>
#include <cmath>

#include "statistics/avx2.h"  // the intrinsics
#include "statistics/interval_sums.h"

namespace qlor {

namespace {

/// Chunks of W interval sums that stay in vector registers while a centre's
/// pairs are added: 56 intervals, 112 with AVX-512's 32 registers; runs with
/// more intervals add in memory.
constexpr int register_chunks(int w) { return w == 8 ? 14 : 56 / w; }

/// What every centre of a pattern shares.
struct EstimatorRun {
  double x_axis;
  double y_axis;
  std::size_t intervals;  // the run's distances
  std::size_t chunks;     // the padded sums' chunks
  double reach;           // the largest distance
};

/// Adds the marked partners' weights of one centre, in ascending partner
/// index, to the sums held in N registers of W lanes.
template <int W, int N>
[[gnu::always_inline]] inline void add_centre_in_registers(
    PartnerMarks& partners, const PairScratch& scratch, double* sums) {
  RegisterSums<W, N> registers(sums);
  const double* first = scratch.first.data();
  const double* weight = scratch.weight.data();
  partners.drain([&](std::size_t k) QLOR_INLINE_LAMBDA {
    registers.add_from(first[k], weight[k]);
  });
  registers.store(sums);
}

#ifdef QLOR_WIDE_KERNELS
/// add_centre_in_registers for AVX2: each pair adds to each register its
/// weight times the register's entries of kReached in one fused
/// multiply-add. The product by 1 or 0 is exact, so the fused add rounds as
/// s + w does or leaves s: the same bits as RegisterSums' multiplication and
/// add, in one instruction a register. Flattened, its lambda compiled for
/// AVX2, so that the sums stay in registers.
template <int N>
[[gnu::flatten]] QLOR_TARGET_AVX2 inline void add_centre_avx2(
    PartnerMarks& partners, const PairScratch& scratch, double* sums) {
  static_assert(4 * N <= kReachedHalf);
  __m256d sum[N];
  for (int c = 0; c < N; ++c) sum[c] = _mm256_loadu_pd(sums + 4 * c);
  const double* first = scratch.first.data();
  const double* weight = scratch.weight.data();
  partners.drain([&](std::size_t k) QLOR_TARGET_AVX2 {
    const __m256d w = _mm256_set1_pd(weight[k]);
    const double* reached = reached_from(first[k]);
#pragma GCC unroll 16
    for (int c = 0; c < N; ++c) {
      sum[c] = _mm256_fmadd_pd(w, _mm256_loadu_pd(reached + 4 * c), sum[c]);
    }
  });
  for (int c = 0; c < N; ++c) _mm256_storeu_pd(sums + 4 * c, sum[c]);
}
#endif

/// The same in memory, for runs with more intervals than registers hold.
template <int W>
[[gnu::always_inline]] inline void add_centre_in_memory(
    PartnerMarks& partners, const PairScratch& scratch, double* sums,
    std::size_t chunks) {
  const double* first = scratch.first.data();
  const double* weight = scratch.weight.data();
  partners.drain([&](std::size_t k) QLOR_INLINE_LAMBDA {
    add_from_chunks<W>(sums, chunks, static_cast<std::size_t>(first[k]),
                       weight[k]);
  });
}

/// Adds the marked partners' weights to the sums of `chunks` chunks: held in
/// N registers when chunks == N for some N up to register_chunks(W) (each size
/// its own inlined copy), in memory otherwise.
template <int W, int N = 1>
[[gnu::always_inline]] inline void add_partners(PartnerMarks& partners,
                                                const PairScratch& scratch,
                                                double* sums,
                                                std::size_t chunks) {
  if constexpr (N > register_chunks(W)) {
    add_centre_in_memory<W>(partners, scratch, sums, chunks);
  } else if (chunks == N) {
#ifdef QLOR_WIDE_KERNELS
    if constexpr (W == 4) {
      add_centre_avx2<N>(partners, scratch, sums);
      return;
    }
#endif
    add_centre_in_registers<W, N>(partners, scratch, sums);
  } else {
    add_partners<W, N + 1>(partners, scratch, sums, chunks);
  }
}

/// Step 3: a centre whose circle of the largest radius crosses no edge adds
/// exactly 1 per pair, so the order of its partners does not matter: they
/// are counted by first interval (`counts` has one more slot, for distances
/// beyond all), and each interval's ones added in one go.
[[gnu::always_inline]] inline void add_interior_centre(
    const CentreCandidates& candidates, const IntervalFinder& intervals,
    const EstimatorRun& run, std::vector<std::uint64_t>& counts, double* sums) {
  std::fill(counts.begin(), counts.end(), 0);
  for (std::size_t q = 0; q < candidates.count; ++q) {
    if (candidates.point(q) == candidates.j) continue;
    ++counts[intervals.first(q)];
  }
  std::uint64_t reached = 0;
  for (std::size_t i = 0; i < run.intervals; ++i) {
    reached += counts[i];
    sums[i] = add_ones(sums[i], reached);
  }
}

/// Step 4: a centre whose circle crosses an edge. The weights are found for
/// all candidates at once in the grid's order, then added in ascending
/// partner index.
template <int W>
[[gnu::always_inline]] inline void add_edge_centre(
    const CentreCandidates& candidates, const IntervalFinder& intervals,
    const EstimatorRun& run, PairScratch& scratch, double* sums) {
  const EdgeCentre centre(run.x_axis, run.y_axis, candidates.centre.x,
                          candidates.centre.y, run.reach);
  edge_weights<W>(centre, candidates.d, candidates.count, scratch.edges);
  const double* candidate_weight = scratch.edges.weights.data();
  double* first = scratch.first.data();
  double* weight = scratch.weight.data();
  PartnerMarks partners =
      mark_partners(candidates, scratch.marks,
                    [&](std::size_t k, std::size_t q) QLOR_INLINE_LAMBDA {
                      const std::size_t from = intervals.first(q);
                      if (from >= run.intervals) return false;
                      first[k] = static_cast<double>(from);
                      weight[k] = candidate_weight[q];
                      return true;
                    });
  if (partners.empty()) return;
  add_partners<W>(partners, scratch, sums, run.chunks);
}

/// Step 5: the sums into the pattern's arrays, and K and L from them.
/// `sums_21` is read only for a bivariate pattern.
void store_kl(AnalysisState& state, const std::vector<double>& t,
              const double* sums_12, const double* sums_21) {
  const bool bivariate = state.analysis_type == AnalysisType::kBivariate;
  const std::size_t intervals = t.size();
  auto& pair_sums_12 = bivariate ? state.pair_sums_12 : state.pair_sums;
  std::copy_n(sums_12, intervals, pair_sums_12.begin());
  if (bivariate) std::copy_n(sums_21, intervals, state.pair_sums_21.begin());

  const double area = state.x_axis * state.y_axis;
  for (std::size_t i = 0; i < intervals; ++i) {
    if (!bivariate) {
      const double n_all = state.n_points;
      state.l_values[i] =
          std::sqrt(area * state.pair_sums[i] / (n_all * kPi * n_all)) - t[i];
      continue;
    }
    const double n1 = state.n_species1;
    const double n2 = state.n_species2;
    state.k12[i] = area * state.pair_sums_12[i] / (n1 * n2);
    state.k21[i] = area * state.pair_sums_21[i] / (n1 * n2);
    state.l_values[i] =
        std::sqrt((n2 * state.k12[i] + n1 * state.k21[i]) / ((n1 + n2) * kPi)) -
        t[i];
  }
}

/// One pattern, steps 1 to 5, with sums in vectors of W lanes; inlined whole
/// into each instruction set's variant.
template <int W>
[[gnu::always_inline]] inline void estimate(AnalysisState& state,
                                            PairScratch& scratch) {
  // 1. The distances, and the padded sums of the species-1 centres and,
  // bivariate, of the species-2 centres (a univariate run uses the first
  // for every centre).
  const bool bivariate = state.analysis_type == AnalysisType::kBivariate;
  const std::vector<double> t = interval_distances(state);
  const EstimatorRun run{state.x_axis, state.y_axis, t.size(),
                         chunks_for<W>(t.size()), t.empty() ? 0.0 : t.back()};
  std::vector<double> padded(2 * run.chunks * W, 0.0);
  double* const sums_of[2] = {padded.data(), padded.data() + run.chunks * W};

  if (run.intervals > 0) {
    const double reach = run.reach;
    IntervalFinder intervals(state, t);
    std::vector<std::uint64_t> counts(run.intervals + 1);
    // 2. Each centre's candidates and their first intervals.
    for_each_centre<W>(
        state.points, run.x_axis, run.y_axis, reach, bivariate, scratch,
        [&](const CentreCandidates& candidates) QLOR_INLINE_LAMBDA {
          const PointRecord& centre = candidates.centre;
          double* sums = sums_of[bivariate && centre.species != 0 ? 1 : 0];
          intervals.find<W>(candidates, scratch);
          if (circle_inside(run.x_axis, run.y_axis, centre.x, centre.y,
                            reach)) {
            // 3. Inside the plot: ones in closed form.
            add_interior_centre(candidates, intervals, run, counts, sums);
          } else {
            // 4. Near an edge: the edge-corrected weights.
            add_edge_centre<W>(candidates, intervals, run, scratch, sums);
          }
        });
  }

  // 5. K and L.
  store_kl(state, t, sums_of[0], sums_of[1]);
}

}  // namespace

void compute_kl(AnalysisState& state, PairScratch& scratch, KernelIsa isa) {
  // Each variant holds as many sums in a register as its vectors have lanes.
  run_kernel<estimate<2>, estimate<4>, estimate<8>>(isa, state, scratch);
}

void compute_kl(AnalysisState& state, PairScratch& scratch) {
  compute_kl(state, scratch, best_kernel_isa());
}

void compute_kl(AnalysisState& state) {
  PairScratch scratch;
  compute_kl(state, scratch);
}

void count_pattern_done(const AnalysisState& state, std::int32_t s,
                        ProgressCounters& counters) {
  const double n = state.n_points;
  counters.pairs_done_file = n * n * (state.last_interval + 1.0) * (s + 1.0);
  counters.pairs_done_all =
      counters.pairs_done_before + counters.pairs_done_file;
}

}  // namespace qlor
