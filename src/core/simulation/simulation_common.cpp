// Comparison sets and label assignment shared by the generators.
#include "simulation/simulation_common.h"

namespace qlor {

void add_fixed_points(const AnalysisState& state, RandomizeMode randomize_mode,
                      PositionSet& placed) {
  placed.clear();
  placed.reserve(state.points.size());
  for (const auto& p : state.points) {
    if (is_fixed_point(state, randomize_mode, p)) placed.insert(p);
  }
}

void assign_label(AnalysisState& state, PatternDraws& draws, PointRecord& p) {
  p.species = draws.label(state.n_species1_observed - state.n_species1,
                          state.n_species2_observed - state.n_species2);
  ++(p.species == 0 ? state.n_species1 : state.n_species2);
}

}  // namespace qlor
