// Coordinate resolution, simulation grid and the draw of one grid point.
#include "simulation/simulation_grid.h"

#include <cmath>

namespace qlor {

namespace {

struct GridRow {
  std::int32_t resolution;
  double scale;
  bool halves;
  bool fifths;
};

constexpr GridRow kGridRows[] = {
    {1, 1000, false, false},   {2, 100, false, true},
    {5, 100, true, false},     {10, 100, false, false},
    {20, 10, false, true},     {50, 10, true, false},
    {100, 10, false, false},   {200, 1, false, true},
    {500, 1, true, false},     {1000, 1, false, false},
    {2000, 0.1, false, true},  {5000, 0.1, true, false},
    {10000, 0.1, false, false},
};

}  // namespace

void update_coordinate_resolution(AnalysisState& state, double x) {
  const double scaled = x * 1000 + 0.5;
  // Coordinates beyond 2^63 thousandths carry no finer step than 10 units.
  const auto v = scaled < 9.2e18 ? static_cast<std::int64_t>(scaled) : 0;
  std::int32_t step = 10000;
  if (v != 0) {
    for (auto it = std::rbegin(kGridRows); it != std::rend(kGridRows); ++it) {
      if (v % it->resolution == 0) {
        step = it->resolution;
        break;
      }
    }
  }
  if (step < state.coordinate_resolution) state.coordinate_resolution = step;
}

std::int32_t plot_grid_cells(double extent, double grid_scale) {
  const double cells = std::trunc(extent * grid_scale);
  if (!(cells < 2147483648.0)) return 2147483647;
  return cells > 0 ? static_cast<std::int32_t>(cells) : 0;
}

void set_simulation_grid(AnalysisState& state) {
  for (const auto& row : kGridRows) {
    if (row.resolution != state.coordinate_resolution) continue;
    state.grid_scale = row.scale;
    if (row.halves) state.grid_halves = 1;
    if (row.fifths) state.grid_fifths = 1;
  }
  state.grid_cells_x = plot_grid_cells(state.x_axis, state.grid_scale);
  state.grid_cells_y = plot_grid_cells(state.y_axis, state.grid_scale);
}

PointRecord grid_point(const AnalysisState& state, LcgRandom& rng,
                       std::int32_t cells_x, std::int32_t cells_y) {
  PointRecord p;
  if (state.grid_halves == 1 || state.grid_fifths == 1) {
    const std::int64_t a = rng.draw_mod(cells_x);
    const std::int64_t b = rng.draw_mod(cells_y);
    std::int64_t dx = 0;
    std::int64_t dy = 0;
    if (state.grid_halves == 1) {
      dx = (rng.draw() % 2) * 5;
      dy = (rng.draw() % 2) * 5;
    } else {
      dx = (rng.draw() % 5) * 2;
      dy = (rng.draw() % 5) * 2;
    }
    const double divisor = 10 * state.grid_scale;
    p.x = static_cast<double>(10 * a + dx) / divisor;
    p.y = static_cast<double>(10 * b + dy) / divisor;
    return p;
  }
  p.x = rng.draw_mod(cells_x) / state.grid_scale;
  p.y = rng.draw_mod(cells_y) / state.grid_scale;
  return p;
}

}  // namespace qlor
