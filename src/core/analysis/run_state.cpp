// The derived parts of an analysis state, from its parameters and points.
#include "analysis/run_state.h"

#include "model/lattice.h"
#include "simulation/cluster_tables.h"

namespace qlor {

Status complete_run_state(AnalysisState& state, Direction direction_index) {
  state.n_points = static_cast<std::int32_t>(state.points.size());
  state.n_species1 = 0;
  state.n_species2 = 0;
  state.coordinate_resolution = SimulationLattice{}.coordinate_resolution;
  state.grid_halves = 0;
  state.grid_fifths = 0;
  for (const PointRecord& p : state.points) {
    if (state.analysis_type == AnalysisType::kBivariate) {
      ++(p.species == 0 ? state.n_species1 : state.n_species2);
    }
    update_coordinate_resolution(state, p.x);
  }
  state.n_species1_observed = state.n_species1;
  state.n_species2_observed = state.n_species2;
  if (state.process_type == ProcessType::kCluster) {
    if (auto s = make_cluster_tables(state, state); !s.ok()) return s;
  }
  set_simulation_grid(state);
  return allocate_result_arrays(state, direction_index);
}

}  // namespace qlor
