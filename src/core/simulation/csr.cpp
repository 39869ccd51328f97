// Complete spatial randomness: every regenerated point is an independent
// grid draw, redrawn while it coincides with a point already placed.
#include "simulation/csr.h"

namespace qlor {

namespace {

class CsrModel final : public NullModel {
 public:
  explicit CsrModel(RandomizeMode randomize_mode)
      : randomize_mode_(randomize_mode) {}

  [[nodiscard]] Status simulate(AnalysisState& state,
                                PatternDraws& draws) const override {
    state.grid_cells_x = plot_grid_cells(state.x_axis, state.grid_scale);
    state.grid_cells_y = plot_grid_cells(state.y_axis, state.grid_scale);
    if (state.grid_cells_x == 0 || state.grid_cells_y == 0) return kCsrFailure;
    draws.start_attempt();
    const bool relabel = relabels(state, randomize_mode_);
    if (relabel) reset_labels(state);
    PositionSet placed;
    add_fixed_points(state, randomize_mode_, placed);
    // A grid too small for the pattern would redraw forever; a point that
    // needs more than this many draws is taken as proof of that.
    const std::int64_t max_draws =
        1000 * static_cast<std::int64_t>(state.n_points);
    for (auto& point : state.points) {
      if (is_fixed_point(state, randomize_mode_, point)) continue;
      PointRecord candidate;
      std::int64_t n_draws = 0;
      do {
        if (++n_draws > max_draws) return kCsrFailure;
        candidate =
            grid_point(state, draws, state.grid_cells_x, state.grid_cells_y);
      } while (placed.contains(candidate));
      point.x = candidate.x;
      point.y = candidate.y;
      placed.insert(point);
      if (relabel) assign_label(state, draws, point);
    }
    return {};
  }

 private:
  RandomizeMode randomize_mode_;
};

}  // namespace

std::unique_ptr<NullModel> make_csr_model(RandomizeMode randomize_mode) {
  return std::make_unique<CsrModel>(randomize_mode);
}

}  // namespace qlor
