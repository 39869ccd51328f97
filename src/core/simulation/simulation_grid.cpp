// The draw of one point of the simulation lattice.
#include "simulation/simulation_grid.h"

namespace qlor {

PointRecord grid_point(const SimulationLattice& lattice, PatternDraws& draws,
                       std::int32_t cells_x, std::int32_t cells_y) {
  const std::int32_t steps_per_cell = lattice_steps_per_cell(lattice);
  const std::int64_t a = draws.below(cells_x);
  const std::int64_t b = draws.below(cells_y);
  std::int64_t sub_x = 0;
  std::int64_t sub_y = 0;
  if (steps_per_cell > 1) {
    sub_x = draws.below(steps_per_cell);
    sub_y = draws.below(steps_per_cell);
  }
  PointRecord p;
  p.x = lattice_step_value(lattice, a * steps_per_cell + sub_x, steps_per_cell);
  p.y = lattice_step_value(lattice, b * steps_per_cell + sub_y, steps_per_cell);
  return p;
}

std::int32_t lattice_steps_per_cell(const SimulationLattice& lattice) {
  if (lattice.grid_halves == 1) return 2;
  if (lattice.grid_fifths == 1) return 5;
  return 1;
}

double lattice_step_value(const SimulationLattice& lattice, std::int64_t step,
                          std::int32_t steps_per_cell) {
  if (steps_per_cell == 1) return step / lattice.grid_scale;
  const std::int64_t cell = step / steps_per_cell;
  const std::int64_t sub = (step % steps_per_cell) * (10 / steps_per_cell);
  return static_cast<double>(10 * cell + sub) / (10 * lattice.grid_scale);
}

}  // namespace qlor
