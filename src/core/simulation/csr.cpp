// Complete spatial randomness: every regenerated point is an independent
// grid draw, redrawn while it coincides with a point already placed.
#include "simulation/csr.h"

namespace qlor {

Status simulate_csr(AnalysisState& state, std::int32_t s,
                    const SimulationEnv& env, LcgRandom& rng) {
  state.grid_cells_x = plot_grid_cells(state.x_axis, state.grid_scale);
  state.grid_cells_y = plot_grid_cells(state.y_axis, state.grid_scale);
  if (state.grid_cells_x == 0 || state.grid_cells_y == 0) return kCsrFailure;
  rng.seed(simulation_seed(env.clock, s));
  const bool relabel = relabels(state, env.randomize_mode);
  if (relabel) {
    state.n_species1 = 0;
    state.n_species2 = 0;
  }
  PositionSet placed;
  add_fixed_points(state, env.randomize_mode, placed);
  // A grid too small for the pattern would redraw forever; a point that
  // needs more than this many draws is taken as proof of that.
  const std::int64_t max_draws =
      1000 * static_cast<std::int64_t>(state.n_points);
  for (auto& point : state.points) {
    if (is_fixed_point(state, env.randomize_mode, point)) continue;
    PointRecord candidate;
    std::int64_t draws = 0;
    do {
      if (++draws > max_draws) return kCsrFailure;
      candidate =
          grid_point(state, rng, state.grid_cells_x, state.grid_cells_y);
    } while (placed.contains(candidate));
    point.x = candidate.x;
    point.y = candidate.y;
    placed.insert(point);
    if (relabel) assign_label(state, rng, point);
  }
  return {};
}

}  // namespace qlor
