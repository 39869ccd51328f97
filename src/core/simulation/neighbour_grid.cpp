// Incremental cell lists for the close-neighbour count of the inhibition
// process.
#include "simulation/neighbour_grid.h"

#include <algorithm>
#include <cmath>

namespace qlor {

namespace {

constexpr double kMaxCellsPerAxis = 1 << 20;

// Cells along one axis: as many as fit `radius`, at least one.
double cells_along(double extent, double radius) {
  const double n = std::floor(extent / radius);
  if (!(n >= 1)) return 1;
  return std::min(n, kMaxCellsPerAxis);
}

// Floor of q clamped to 0 .. cells - 1; non-decreasing in q, which the
// query window relies on.
std::int32_t clamp_cell(double q, std::int32_t cells) {
  if (!(q >= 0)) return 0;
  if (q >= cells - 1) return cells - 1;
  return static_cast<std::int32_t>(q);
}

}  // namespace

void NeighbourGrid::reset(double x_axis, double y_axis, double radius,
                          std::size_t capacity) {
  placed_.clear();
  next_.clear();
  placed_.reserve(capacity);
  next_.reserve(capacity);
  active_ = radius > 0 && x_axis > 0 && y_axis > 0;
  radius_ = radius;
  double nx = 1;
  double ny = 1;
  if (active_) {
    nx = cells_along(x_axis, radius);
    ny = cells_along(y_axis, radius);
    // A radius tiny against the plot would give more cells than points are
    // worth; wider cells only make the window hold more points.
    const double max_cells = 4.0 * static_cast<double>(capacity) + 64;
    if (nx * ny > max_cells) {
      const double f = std::sqrt(max_cells / (nx * ny));
      nx = std::max(1.0, std::floor(nx * f));
      ny = std::max(1.0, std::floor(ny * f));
    }
  }
  cells_x_ = static_cast<std::int32_t>(nx);
  cells_y_ = static_cast<std::int32_t>(ny);
  side_x_ = active_ ? x_axis / nx : 1.0;
  side_y_ = active_ ? y_axis / ny : 1.0;
  head_.assign(
      static_cast<std::size_t>(cells_x_) * static_cast<std::size_t>(cells_y_),
      -1);
}

std::int32_t NeighbourGrid::cell_x(double x) const {
  return clamp_cell(x / side_x_, cells_x_);
}

std::int32_t NeighbourGrid::cell_y(double y) const {
  return clamp_cell(y / side_y_, cells_y_);
}

void NeighbourGrid::insert(const PointRecord& p) {
  if (!active_) return;
  const auto cell = static_cast<std::size_t>(cell_y(p.y)) *
                        static_cast<std::size_t>(cells_x_) +
                    static_cast<std::size_t>(cell_x(p.x));
  next_.push_back(head_[cell]);
  head_[cell] = static_cast<std::int32_t>(placed_.size());
  placed_.push_back(p);
}

std::int32_t NeighbourGrid::count_close(const PointRecord& p,
                                        std::int32_t limit) const {
  if (!active_) return 0;
  // A point whose x differs from p.x by more than the radius has a computed
  // distance of at least the radius (rounding is monotone and
  // sqrt(r * r) == r in binary floating point). Such a point lies at or
  // beyond p.x +- radius, and the rounded window bounds below still hold
  // every point inside it, since rounding and the cell index never
  // decrease.
  const std::int32_t x_lo = cell_x(p.x - radius_);
  const std::int32_t x_hi = cell_x(p.x + radius_);
  const std::int32_t y_lo = cell_y(p.y - radius_);
  const std::int32_t y_hi = cell_y(p.y + radius_);
  std::int32_t k = 0;
  for (std::int32_t cy = y_lo; cy <= y_hi; ++cy) {
    for (std::int32_t cx = x_lo; cx <= x_hi; ++cx) {
      const auto cell =
          static_cast<std::size_t>(cy) * static_cast<std::size_t>(cells_x_) +
          static_cast<std::size_t>(cx);
      for (std::int32_t j = head_[cell]; j >= 0;
           j = next_[static_cast<std::size_t>(j)]) {
        const PointRecord& q = placed_[static_cast<std::size_t>(j)];
        const double dx = q.x - p.x;
        const double dy = q.y - p.y;
        if (std::sqrt(dx * dx + dy * dy) < radius_ && ++k >= limit) return k;
      }
    }
  }
  return k;
}

}  // namespace qlor
