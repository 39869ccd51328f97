// The non-directional estimator: each pair adds its edge-corrected weight,
// taken around its centre, to every interval whose t reaches its distance.
#include "statistics/kl_estimator.h"

#include <algorithm>
#include <cmath>

#include "statistics/interval_sums.h"

namespace qlor {

namespace {

/// Adds the marked partners' weights of one centre, in ascending partner
/// index, to the sums held in registers.
template <int N>
[[gnu::always_inline]] inline void add_centre_in_registers(
    PartnerMarks& partners, const PairScratch& scratch, double* sums) {
  RegisterSums<N> registers(sums);
  const double* first = scratch.first.data();
  const double* weight = scratch.weight.data();
  partners.drain(
      [&](std::size_t k) { registers.add_from(first[k], weight[k]); });
  registers.store(sums);
}

/// The same in memory, for runs with more intervals than registers hold.
[[gnu::always_inline]] inline void add_centre_in_memory(
    PartnerMarks& partners, const PairScratch& scratch, double* sums,
    std::size_t chunks) {
  const double* first = scratch.first.data();
  const double* weight = scratch.weight.data();
  partners.drain([&](std::size_t k) {
    add_from_chunks(sums, chunks, static_cast<std::size_t>(first[k]),
                    weight[k]);
  });
}

[[gnu::always_inline]] inline void estimate(AnalysisState& state,
                                            PairScratch& scratch) {
  const bool bivariate = state.analysis_type == AnalysisType::kBivariate;
  const std::vector<double> t = interval_distances(state);
  const std::size_t intervals = t.size();
  const std::size_t chunks = chunks_for(intervals);
  // Padded sums of the species-1 centres and, bivariate, the species-2
  // centres (a univariate run uses the first for every centre).
  std::vector<double> padded(2 * chunks * kChunkLanes, 0.0);
  double* const sums_of[2] = {padded.data(),
                              padded.data() + chunks * kChunkLanes};

  const auto& points = state.points;
  const std::size_t n = points.size();
  if (intervals > 0 && n >= 2) {
    const double x_axis = state.x_axis;
    const double y_axis = state.y_axis;
    const double reach = t.back();
    prepare_pair_scratch(points, x_axis, y_axis, reach, bivariate, scratch);
    double* first = scratch.first.data();
    double* weight = scratch.weight.data();
    const IntervalLattice lattice(state);
    const std::int32_t* survivors = scratch.survivors.data();
    const double* survivor_d = scratch.survivor_d.data();
    double* survivor_first = scratch.survivor_first.data();
    // Partners by first interval (one more slot for distances beyond all).
    std::vector<std::uint64_t> counts(intervals + 1);
    for (std::size_t j = 0; j < n; ++j) {
      const PointRecord& centre = points[j];
      const bool interior =
          circle_inside(x_axis, y_axis, centre.x, centre.y, reach);
      const PointGrid& grid = partner_grid(scratch, bivariate, centre.species);
      const std::int32_t* ids = grid.ids();
      double* sums = sums_of[bivariate && centre.species != 0 ? 1 : 0];
      // The partners' distances and first intervals, in the grid's order.
      const std::size_t count =
          collect_within_reach(grid, centre.x, centre.y, reach, scratch);
      first_intervals(lattice, survivor_d, count, survivor_first);
      auto first_of = [&](std::size_t q) {
        const double f = survivor_first[q];
        return f >= 0
                   ? static_cast<std::size_t>(f)
                   : first_interval_from_step(t, lattice.inverse_step,
                                              state.t_min_steps, survivor_d[q]);
      };
      if (interior) {
        // Every pair of a centre whose circles cross no edge adds exactly
        // 1, so the order of its partners does not matter: count them by
        // first interval and add each interval's ones in one go.
        std::fill(counts.begin(), counts.end(), 0);
        for (std::size_t q = 0; q < count; ++q) {
          if (static_cast<std::size_t>(ids[survivors[q]]) == j) continue;
          ++counts[first_of(q)];
        }
        std::uint64_t reached = 0;
        for (std::size_t i = 0; i < intervals; ++i) {
          reached += counts[i];
          sums[i] = add_ones(sums[i], reached);
        }
        continue;
      }
      // The weights are found in the grid's order ...
      PartnerMarks partners(scratch.marks);
      for (std::size_t q = 0; q < count; ++q) {
        const auto k = static_cast<std::size_t>(ids[survivors[q]]);
        if (k == j) continue;
        const std::size_t from = first_of(q);
        if (from >= intervals) continue;
        first[k] = static_cast<double>(from);
        weight[k] =
            analyse_edges(x_axis, y_axis, centre.x, centre.y, survivor_d[q])
                .w_tot;
        partners.mark(k);
      }
      if (partners.empty()) continue;
      // ... and added in ascending partner index.
      switch (chunks) {
#define QLOR_REGISTER_CASE(N)                            \
  case N:                                                \
    add_centre_in_registers<N>(partners, scratch, sums); \
    break;
        QLOR_REGISTER_CASE(1)
        QLOR_REGISTER_CASE(2)
        QLOR_REGISTER_CASE(3)
        QLOR_REGISTER_CASE(4)
        QLOR_REGISTER_CASE(5)
        QLOR_REGISTER_CASE(6)
        QLOR_REGISTER_CASE(7)
        QLOR_REGISTER_CASE(8)
        QLOR_REGISTER_CASE(9)
        QLOR_REGISTER_CASE(10)
        QLOR_REGISTER_CASE(11)
        QLOR_REGISTER_CASE(12)
        QLOR_REGISTER_CASE(13)
        QLOR_REGISTER_CASE(14)
#undef QLOR_REGISTER_CASE
        default:
          add_centre_in_memory(partners, scratch, sums, chunks);
      }
    }
  }

  auto& sums_12 = bivariate ? state.pair_sums_12 : state.pair_sums;
  std::copy_n(sums_of[0], intervals, sums_12.begin());
  if (bivariate) std::copy_n(sums_of[1], intervals, state.pair_sums_21.begin());

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

void estimate_baseline(AnalysisState& state, PairScratch& scratch) {
  estimate(state, scratch);
}

#ifdef QLOR_WIDE_KERNELS
QLOR_TARGET_AVX2 void estimate_avx2(AnalysisState& state,
                                    PairScratch& scratch) {
  estimate(state, scratch);
}

QLOR_TARGET_AVX512 void estimate_avx512(AnalysisState& state,
                                        PairScratch& scratch) {
  estimate(state, scratch);
}
#endif

}  // namespace

void compute_kl(AnalysisState& state, PairScratch& scratch, KernelIsa isa) {
  switch (isa) {
#ifdef QLOR_WIDE_KERNELS
    case KernelIsa::kAvx512:
      return estimate_avx512(state, scratch);
    case KernelIsa::kAvx2:
      return estimate_avx2(state, scratch);
#endif
    default:
      return estimate_baseline(state, scratch);
  }
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
