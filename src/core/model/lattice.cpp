// The coordinate resolution of a pattern and the lattice it gives.
#include "model/lattice.h"

#include <cmath>
#include <iterator>

namespace qlor {

namespace {

struct GridRow {
  std::int32_t resolution;
  double scale;
  bool halves;
  bool fifths;
};

constexpr GridRow kGridRows[] = {
    {1, 1000, false, false},    {2, 100, false, true},
    {5, 100, true, false},      {10, 100, false, false},
    {20, 10, false, true},      {50, 10, true, false},
    {100, 10, false, false},    {200, 1, false, true},
    {500, 1, true, false},      {1000, 1, false, false},
    {2000, 0.1, false, true},   {5000, 0.1, true, false},
    {10000, 0.1, false, false},
};

}  // namespace

void update_coordinate_resolution(SimulationLattice& lattice, double x) {
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
  if (step < lattice.coordinate_resolution)
    lattice.coordinate_resolution = step;
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

}  // namespace qlor
