// The draw of one point of the simulation lattice.
#include "simulation/simulation_grid.h"

namespace qlor {

PointRecord grid_point(const SimulationLattice& lattice, PatternDraws& draws,
                       std::int32_t cells_x, std::int32_t cells_y) {
  PointRecord p;
  if (lattice.grid_halves == 1 || lattice.grid_fifths == 1) {
    const std::int64_t a = draws.below(cells_x);
    const std::int64_t b = draws.below(cells_y);
    std::int64_t dx = 0;
    std::int64_t dy = 0;
    if (lattice.grid_halves == 1) {
      dx = draws.below(2) * 5;
      dy = draws.below(2) * 5;
    } else {
      dx = draws.below(5) * 2;
      dy = draws.below(5) * 2;
    }
    const double divisor = 10 * lattice.grid_scale;
    p.x = static_cast<double>(10 * a + dx) / divisor;
    p.y = static_cast<double>(10 * b + dy) / divisor;
    return p;
  }
  p.x = draws.below(cells_x) / lattice.grid_scale;
  p.y = draws.below(cells_y) / lattice.grid_scale;
  return p;
}

std::int32_t lattice_steps_per_cell(const SimulationLattice& lattice) {
  if (lattice.grid_halves == 1) return 2;
  if (lattice.grid_fifths == 1) return 5;
  return 1;
}

double lattice_step_value(const SimulationLattice& lattice, std::int32_t step,
                          std::int32_t steps_per_cell) {
  if (steps_per_cell == 1) return step / lattice.grid_scale;
  const std::int64_t cell = step / steps_per_cell;
  const std::int64_t sub = (step % steps_per_cell) * (10 / steps_per_cell);
  return static_cast<double>(10 * cell + sub) / (10 * lattice.grid_scale);
}

}  // namespace qlor
