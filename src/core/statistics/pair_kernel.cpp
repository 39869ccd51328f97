// Cell grid and distances of the pair loop.
#include "statistics/pair_kernel.h"

namespace qlor {

CellGrid::CellGrid(const std::vector<PointRecord>& points, double x_axis,
                   double y_axis, double reach) {
  // Cells a little wider than reach / kSpan absorb the rounding of x / side,
  // so partners within reach never lie more than kSpan cells apart.
  const double side = reach / kSpan * (1 + 1e-6);
  const double max_cells = std::max(1.0, 2.0 * static_cast<double>(points.size()));
  auto cells_along = [&](double extent) {
    if (!(side > 0) || !(extent > 0)) return 1.0;
    return std::clamp(std::floor(extent / side), 1.0, 4096.0);
  };
  double nx = cells_along(x_axis);
  double ny = cells_along(y_axis);
  while (nx * ny > max_cells) {
    nx = std::max(1.0, std::floor(nx / 2));
    ny = std::max(1.0, std::floor(ny / 2));
  }
  cells_x_ = static_cast<int>(nx);
  cells_y_ = static_cast<int>(ny);
  side_x_ = cells_x_ == 1 ? std::max(x_axis, side) * 2 : x_axis / nx;
  side_y_ = cells_y_ == 1 ? std::max(y_axis, side) * 2 : y_axis / ny;
  if (!(side_x_ > 0)) side_x_ = 1;
  if (!(side_y_ > 0)) side_y_ = 1;

  const auto cells = static_cast<std::size_t>(cells_x_) * static_cast<std::size_t>(cells_y_);
  starts_.assign(cells + 1, 0);
  std::vector<std::int32_t> cell_of(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    cell_of[i] = cell_y(points[i].y) * cells_x_ + cell_x(points[i].x);
    ++starts_[static_cast<std::size_t>(cell_of[i]) + 1];
  }
  for (std::size_t c = 0; c < cells; ++c) starts_[c + 1] += starts_[c];
  members_.resize(points.size());
  std::vector<std::int32_t> fill(starts_.begin(), starts_.end() - 1);
  for (std::size_t i = 0; i < points.size(); ++i) {
    members_[static_cast<std::size_t>(fill[static_cast<std::size_t>(cell_of[i])]++)] =
        static_cast<std::int32_t>(i);
  }
}

std::vector<double> interval_distances(const AnalysisState& state) {
  std::vector<double> t(static_cast<std::size_t>(state.last_interval) + 1);
  for (std::int32_t i = 0; i <= state.last_interval; ++i) {
    t[static_cast<std::size_t>(i)] = state.t_of(i);
  }
  return t;
}

}  // namespace qlor
