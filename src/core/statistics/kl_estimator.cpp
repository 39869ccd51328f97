// The non-directional estimator: each pair adds its edge-corrected weight,
// taken around its centre, to every interval whose t reaches its distance.
#include "statistics/kl_estimator.h"

#include <algorithm>
#include <cmath>

namespace qlor {

void compute_kl(AnalysisState& state, PairScratch& scratch) {
  const bool bivariate = state.analysis_type == 2;
  const std::vector<double> t = interval_distances(state);
  const std::size_t intervals = t.size();
  auto& sums_12 = bivariate ? state.pair_sums_12 : state.pair_sums;
  auto& sums_21 = bivariate ? state.pair_sums_21 : state.pair_sums;
  std::fill(sums_12.begin(), sums_12.end(), 0.0);
  std::fill(sums_21.begin(), sums_21.end(), 0.0);

  for_each_weighted_pair(
      state, t, bivariate, scratch,
      [&](std::size_t j, std::size_t, std::size_t first,
          const EdgeAnalysis& edges) {
        const bool centre_21 = bivariate && state.points[j].species != 0;
        add_from(centre_21 ? sums_21 : sums_12, first, edges.w_tot);
      });

  const double area = state.x_axis * state.y_axis;
  for (std::size_t i = 0; i < intervals; ++i) {
    if (!bivariate) {
      const double n = state.n_points;
      state.l_values[i] =
          std::sqrt(area * state.pair_sums[i] / (n * kPi * n)) - t[i];
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
