// Buckets of the points placed so far, so that the inhibition test counts
// the points closer than a radius without scanning every placed point.
#pragma once

#include <cstdint>
#include <vector>

#include "model/analysis_state.h"

namespace qlor {

/// Points inserted one by one into cells over the plot. The count of close
/// points equals that of a scan over all inserted points: a point lies in
/// a cell the query window visits whenever its computed distance can be
/// below the radius.
class NeighbourGrid {
 public:
  /// Empties the grid and lays cells about `radius` wide over the plot, for
  /// up to `capacity` points. A radius that is not positive (or not a
  /// number) makes every count 0.
  void reset(double x_axis, double y_axis, double radius, std::size_t capacity);
  void insert(const PointRecord& p);
  /// Number of inserted points at distance d < radius from p, counting
  /// stopped once it reaches `limit`.
  [[nodiscard]] std::int32_t count_close(const PointRecord& p,
                                         std::int32_t limit) const;

 private:
  [[nodiscard]] std::int32_t cell_x(double x) const;
  [[nodiscard]] std::int32_t cell_y(double y) const;

  bool active_ = false;
  double radius_ = 0.0;
  std::int32_t cells_x_ = 1;
  std::int32_t cells_y_ = 1;
  double side_x_ = 1.0;
  double side_y_ = 1.0;
  std::vector<std::int32_t> head_;  // last point inserted into each cell
  std::vector<std::int32_t> next_;  // earlier point of the same cell
  std::vector<PointRecord> placed_;
};

}  // namespace qlor
