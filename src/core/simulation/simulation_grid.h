// The draw of one point of the lattice on which simulated points lie.
#pragma once

#include <cstdint>

#include "model/analysis_state.h"
#include "model/lattice.h"
#include "simulation/lcg_random.h"

namespace qlor {

/// Draws one grid point on a grid of cells_x by cells_y cells (both > 0).
[[nodiscard]] PointRecord grid_point(const SimulationLattice& lattice,
                                     LcgRandom& rng, std::int32_t cells_x,
                                     std::int32_t cells_y);

}  // namespace qlor
