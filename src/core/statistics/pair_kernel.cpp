// Cell grids and distances of the pair loop.
#include "statistics/pair_kernel.h"

namespace qlor {

void PointGrid::build(const std::vector<PointRecord>& points, double x_axis,
                      double y_axis, double reach, int key) {
  std::size_t members = 0;
  for (const PointRecord& p : points) {
    if (key < 0 || (p.species != 0 ? 1 : 0) == key) ++members;
  }
  // Cells of about a quarter of the reach keep the scanned area close to
  // the circle's; at most about two cells a point, so that sparse patterns
  // do not scan empty cells.
  const double side = reach / 4;
  const double max_cells = std::max(1.0, 2.0 * static_cast<double>(members));
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
  side_x_ = x_axis > 0 ? x_axis / nx : 1;
  side_y_ = y_axis > 0 ? y_axis / ny : 1;
  if (!(side_x_ > 0) || !std::isfinite(side_x_)) side_x_ = 1;
  if (!(side_y_ > 0) || !std::isfinite(side_y_)) side_y_ = 1;

  const auto cells =
      static_cast<std::size_t>(cells_x_) * static_cast<std::size_t>(cells_y_);
  starts_.assign(cells + 1, 0);
  cell_of_.assign(points.size(), -1);
  for (std::size_t i = 0; i < points.size(); ++i) {
    const PointRecord& p = points[i];
    if (key >= 0 && (p.species != 0 ? 1 : 0) != key) continue;
    cell_of_[i] = cell_y(p.y) * cells_x_ + cell_x(p.x);
    ++starts_[static_cast<std::size_t>(cell_of_[i]) + 1];
  }
  for (std::size_t c = 0; c < cells; ++c) starts_[c + 1] += starts_[c];
  xs_.resize(members);
  ys_.resize(members);
  ids_.resize(members);
  // Filling in ascending index keeps each cell's points in ascending order;
  // the starts are shifted back by one cell as the cells fill up.
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (cell_of_[i] < 0) continue;
    const auto slot = static_cast<std::size_t>(
        starts_[static_cast<std::size_t>(cell_of_[i])]++);
    xs_[slot] = points[i].x;
    ys_[slot] = points[i].y;
    ids_[slot] = static_cast<std::int32_t>(i);
  }
  for (std::size_t c = cells; c > 0; --c) starts_[c] = starts_[c - 1];
  starts_[0] = 0;
}

void prepare_pair_scratch(const std::vector<PointRecord>& points, double x_axis,
                          double y_axis, double reach, bool bivariate,
                          PairScratch& scratch) {
  std::size_t largest = 0;
  for (int g = 0; g < (bivariate ? 2 : 1); ++g) {
    scratch.grids[g].build(points, x_axis, y_axis, reach, bivariate ? g : -1);
    largest = std::max(largest, scratch.grids[g].size());
  }
  const std::size_t n = points.size();
  scratch.marks.assign((n + 63) / 64, 0);
  scratch.distance.resize(n);
  scratch.weight.resize(n);
  scratch.first.resize(n);
  scratch.candidate_d.resize(largest);
  // Whole-vector stores of the cell scan and of the first intervals: room
  // for one beyond the last.
  scratch.survivors.resize(largest + 8);
  scratch.survivor_d.resize(largest + 8);
  scratch.survivor_first.resize(largest + 8);
  scratch.edges.resize(largest);
}

std::vector<double> interval_distances(const AnalysisState& state) {
  std::vector<double> t(static_cast<std::size_t>(state.last_interval) + 1);
  for (std::int32_t i = 0; i <= state.last_interval; ++i) {
    t[static_cast<std::size_t>(i)] = state.t_of(i);
  }
  return t;
}

}  // namespace qlor
