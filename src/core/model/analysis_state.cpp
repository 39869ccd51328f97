// Allocation and release of the per-run arrays.
#include "model/analysis_state.h"

namespace qlor {

Status allocate_result_arrays(AnalysisState& state, Direction direction_index) {
  const auto n = static_cast<std::size_t>(state.last_interval) + 1;
  constexpr AllocationCause kTag = AllocationCause::kIntervals;
  if (direction_index == Direction::kNone) {
    if (auto s = allocate(state.l_values, n, kTag); !s.ok()) return s;
    if (state.analysis_type == AnalysisType::kUnivariate)
      return allocate(state.pair_sums, n, kTag);
    for (auto* v :
         {&state.pair_sums_12, &state.pair_sums_21, &state.k12, &state.k21}) {
      if (auto s = allocate(*v, n, kTag); !s.ok()) return s;
    }
    return {};
  }
  for (auto* table :
       {&state.sector_sums_12, &state.sector_sums_21, &state.sector_k12,
        &state.sector_k21, &state.sector_l_values}) {
    for (auto& v : *table) {
      if (auto s = allocate(v, n, kTag); !s.ok()) return s;
    }
  }
  return {};
}

void release_run_arrays(AnalysisState& state) {
  for (auto* v :
       {&state.l_values, &state.pair_sums, &state.pair_sums_12,
        &state.pair_sums_21, &state.k12, &state.k21, &state.poisson_table}) {
    std::vector<double>().swap(*v);
  }
  for (auto* table :
       {&state.sector_sums_12, &state.sector_sums_21, &state.sector_k12,
        &state.sector_k21, &state.sector_l_values}) {
    for (auto& v : *table) std::vector<double>().swap(v);
  }
  std::vector<std::int32_t>().swap(state.offspring_counts);
  std::vector<PointRecord>().swap(state.points);
}

}  // namespace qlor
