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

void assign_label(AnalysisState& state, LcgRandom& rng, PointRecord& p) {
  if (state.n_species1 < state.n_species1_observed &&
      state.n_species2 < state.n_species2_observed) {
    p.species = rng.draw() % 2;
  } else {
    p.species = state.n_species1 < state.n_species1_observed ? 0 : 1;
  }
  ++(p.species == 0 ? state.n_species1 : state.n_species2);
}

}  // namespace qlor
