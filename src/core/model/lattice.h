// The lattice on which simulated points lie, as fine as the coarsest
// decimal step that holds every observed x-coordinate.
#pragma once

#include <cstdint>

#include "model/analysis_state.h"

namespace qlor {

/// Lowers `coordinate_resolution` to the coarsest step (in thousandths) that
/// divides x.
void update_coordinate_resolution(SimulationLattice& lattice, double x);

/// Turns the coordinate resolution into grid scale, sub-positions and the
/// number of cells along each axis.
void set_simulation_grid(AnalysisState& state);

/// Cells of the plot grid along x or y: trunc(extent * grid_scale).
[[nodiscard]] std::int32_t plot_grid_cells(double extent, double grid_scale);

}  // namespace qlor
