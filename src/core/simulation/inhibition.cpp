// Simple sequential inhibition and its Strauss-type variant: points are
// placed one after another on the simulation grid; a position with k placed
// points closer than the radius is refused (c = 0) or kept with probability
// c^k. This is a sequential process, not the Gibbs Strauss process.
#include "simulation/inhibition.h"

#include <cmath>
#include <limits>

#include "simulation/neighbour_grid.h"

namespace qlor {

namespace {

constexpr int kAttempts = 20;
constexpr std::int64_t kTriesPerPoint = 100;

// The comparison sets of one attempt: positions for the coincidence test
// and cells for the close-neighbour count.
struct PlacedPoints {
  PositionSet positions;
  NeighbourGrid close;

  void start(const AnalysisState& state, RandomizeMode randomize_mode) {
    add_fixed_points(state, randomize_mode, positions);
    close.reset(state.x_axis, state.y_axis, state.radius, state.points.size());
    for (const auto& p : state.points) {
      if (is_fixed_point(state, randomize_mode, p)) close.insert(p);
    }
  }
  void add(const PointRecord& p) {
    positions.insert(p);
    close.insert(p);
  }
};

// The coincidence and inhibition tests of a drawn position; the Strauss
// acceptance draw is made only for a position with close points.
bool is_position_kept(const AnalysisState& state, const PointRecord& p,
                      const PlacedPoints& placed, PatternDraws& draws) {
  if (placed.positions.contains(p)) return false;
  // SSI refuses at the first close point, so one is enough to count.
  if (state.c == 0) return placed.close.count_close(p, 1) == 0;
  const std::int32_t k =
      placed.close.count_close(p, std::numeric_limits<std::int32_t>::max());
  if (k == 0) return true;
  return draws.accept(std::pow(state.c, static_cast<double>(k)));
}

// One attempt: passes through the placement loop until every point is
// placed or the budget of tries is spent. A refused point is drawn again in
// the next pass; a skipped fixed point uses up a pass too.
bool place_points(AnalysisState& state, RandomizeMode randomize_mode,
                  PatternDraws& draws, PlacedPoints& placed) {
  const bool relabel = relabels(state, randomize_mode);
  const std::int64_t max_tries = kTriesPerPoint * state.n_points;
  std::size_t i = 0;
  std::int64_t tries = 1;
  while (i < state.points.size() && tries <= max_tries) {
    PointRecord& point = state.points[i];
    if (is_fixed_point(state, randomize_mode, point)) {
      ++i;
    } else {
      const PointRecord drawn =
          grid_point(state, draws, state.grid_cells_x, state.grid_cells_y);
      point.x = drawn.x;
      point.y = drawn.y;
      if (is_position_kept(state, point, placed, draws)) {
        placed.add(point);
        if (relabel) assign_label(state, draws, point);
        ++i;
      }
    }
    ++tries;
  }
  // The counter decides: a last point placed on the very last permitted
  // pass leaves tries above the budget, and the attempt counts as failed.
  return tries <= max_tries;
}

class InhibitionModel final : public NullModel {
 public:
  explicit InhibitionModel(RandomizeMode randomize_mode)
      : randomize_mode_(randomize_mode) {}

  [[nodiscard]] Status simulate(AnalysisState& state,
                                PatternDraws& draws) const override {
    state.grid_cells_x = plot_grid_cells(state.x_axis, state.grid_scale);
    state.grid_cells_y = plot_grid_cells(state.y_axis, state.grid_scale);
    if (state.grid_cells_x == 0 || state.grid_cells_y == 0) return kSsiFailure;
    PlacedPoints placed;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
      draws.start_attempt();
      if (relabels(state, randomize_mode_)) reset_labels(state);
      placed.start(state, randomize_mode_);
      if (place_points(state, randomize_mode_, draws, placed)) return {};
    }
    return kSsiFailure;
  }

 private:
  RandomizeMode randomize_mode_;
};

}  // namespace

std::unique_ptr<NullModel> make_inhibition_model(RandomizeMode randomize_mode) {
  return std::make_unique<InhibitionModel>(randomize_mode);
}

}  // namespace qlor
