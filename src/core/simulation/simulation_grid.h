// The lattice on which simulated points lie, as fine as the coarsest
// decimal step that holds every observed x-coordinate.
#pragma once

#include <cstdint>
#include <unordered_set>

#include "analysis/analysis_state.h"
#include "simulation/lcg_random.h"

namespace qlor {

/// Lowers `coordinate_resolution` to the coarsest step (in thousandths) that
/// divides x.
void update_coordinate_resolution(AnalysisState& state, double x);

/// Turns the coordinate resolution into grid scale, sub-positions and the
/// number of cells along each axis.
void set_simulation_grid(AnalysisState& state);

/// Cells of the plot grid along x or y: trunc(extent * grid_scale).
[[nodiscard]] std::int32_t plot_grid_cells(double extent, double grid_scale);

/// Draws one grid point on a grid of cells_x by cells_y cells (both > 0).
[[nodiscard]] PointRecord grid_point(const AnalysisState& state, LcgRandom& rng,
                                     std::int32_t cells_x,
                                     std::int32_t cells_y);

/// Hash set of point positions for the coincidence checks (exact equality of
/// x and y).
class PositionSet {
 public:
  void reserve(std::size_t n) { set_.reserve(n); }
  void clear() { set_.clear(); }
  [[nodiscard]] bool contains(const PointRecord& p) const {
    return set_.count(key(p)) != 0;
  }
  void insert(const PointRecord& p) { set_.insert(key(p)); }

 private:
  static std::pair<double, double> key(const PointRecord& p) {
    return {p.x, p.y};
  }
  std::unordered_set<std::pair<double, double>, PositionHash> set_;
};

}  // namespace qlor
