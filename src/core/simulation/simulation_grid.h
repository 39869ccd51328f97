// The draw of one point of the lattice on which simulated points lie.
#pragma once

#include <cstdint>

#include "model/analysis_state.h"
#include "model/lattice.h"
#include "simulation/pattern_draws.h"

namespace qlor {

/// Draws one grid point on a grid of cells_x by cells_y cells (both > 0):
/// the x cell, the y cell, then the sub-positions of split cells.
[[nodiscard]] PointRecord grid_point(const SimulationLattice& lattice,
                                     PatternDraws& draws, std::int32_t cells_x,
                                     std::int32_t cells_y);

/// Lattice positions per grid cell: 2 with halves, 5 with fifths, else 1.
[[nodiscard]] std::int32_t lattice_steps_per_cell(
    const SimulationLattice& lattice);

/// The coordinate of lattice position `step` (>= 0) counted from 0, as
/// grid_point computes it.
[[nodiscard]] double lattice_step_value(const SimulationLattice& lattice,
                                        std::int64_t step,
                                        std::int32_t steps_per_cell);

}  // namespace qlor
