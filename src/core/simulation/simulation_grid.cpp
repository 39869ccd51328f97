// The draw of one point of the simulation lattice.
#include "simulation/simulation_grid.h"

namespace qlor {

PointRecord grid_point(const SimulationLattice& lattice, LcgRandom& rng,
                       std::int32_t cells_x, std::int32_t cells_y) {
  PointRecord p;
  if (lattice.grid_halves == 1 || lattice.grid_fifths == 1) {
    const std::int64_t a = rng.draw_mod(cells_x);
    const std::int64_t b = rng.draw_mod(cells_y);
    std::int64_t dx = 0;
    std::int64_t dy = 0;
    if (lattice.grid_halves == 1) {
      dx = (rng.draw() % 2) * 5;
      dy = (rng.draw() % 2) * 5;
    } else {
      dx = (rng.draw() % 5) * 2;
      dy = (rng.draw() % 5) * 2;
    }
    const double divisor = 10 * lattice.grid_scale;
    p.x = static_cast<double>(10 * a + dx) / divisor;
    p.y = static_cast<double>(10 * b + dy) / divisor;
    return p;
  }
  p.x = rng.draw_mod(cells_x) / lattice.grid_scale;
  p.y = rng.draw_mod(cells_y) / lattice.grid_scale;
  return p;
}

}  // namespace qlor
