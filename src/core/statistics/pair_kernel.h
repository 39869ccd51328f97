// The pair loop shared by the four estimators: every qualifying ordered pair
// (j, k) within the largest distance, visited centre j outer and k inner in
// ascending order, so that each interval's sum adds its weights in exactly
// the order of the all-pairs loop. Each pair's distance and edge analysis are
// computed once per pattern and its weight added to every interval whose t
// reaches the distance.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "analysis/analysis_state.h"
#include "statistics/edge_weight.h"

namespace qlor {

/// Buckets the points into square cells at least half as wide as the
/// largest distance, so that a centre's partners lie within `kSpan` cells of
/// its own along each axis. Cell lists hold point indices in ascending order.
class CellGrid {
 public:
  CellGrid(const std::vector<PointRecord>& points, double x_axis, double y_axis,
           double reach);

  /// How many cells a partner within reach can lie away along an axis.
  static constexpr int kSpan = 2;

  [[nodiscard]] int cells_x() const { return cells_x_; }
  [[nodiscard]] int cells_y() const { return cells_y_; }
  [[nodiscard]] int cell_x(double x) const {
    return clamp_cell(x / side_x_, cells_x_);
  }
  [[nodiscard]] int cell_y(double y) const {
    return clamp_cell(y / side_y_, cells_y_);
  }
  /// Indices of the points in cell (cx, cy), ascending.
  [[nodiscard]] const std::int32_t* begin(int cx, int cy) const {
    return members_.data() +
           starts_[static_cast<std::size_t>(cy * cells_x_ + cx)];
  }
  [[nodiscard]] const std::int32_t* end(int cx, int cy) const {
    return members_.data() +
           starts_[static_cast<std::size_t>(cy * cells_x_ + cx) + 1];
  }

 private:
  static int clamp_cell(double q, int cells) {
    if (!(q >= 0)) return 0;
    if (q >= cells) return cells - 1;
    return std::min(static_cast<int>(q), cells - 1);
  }
  int cells_x_ = 1;
  int cells_y_ = 1;
  double side_x_ = 1;
  double side_y_ = 1;
  std::vector<std::int32_t> starts_;
  std::vector<std::int32_t> members_;
};

/// The distances of the run's intervals, t_i = (i + t_min_steps) * t_interval.
[[nodiscard]] std::vector<double> interval_distances(
    const AnalysisState& state);

/// Index of the first interval whose distance is at least d (distances
/// ascending); t.size() when there is none. Compares with the very t values.
[[nodiscard]] inline std::size_t first_interval(const std::vector<double>& t,
                                                double d) {
  return static_cast<std::size_t>(std::lower_bound(t.begin(), t.end(), d) -
                                  t.begin());
}

/// Reusable scratch space of the pair loop (one per thread).
struct PairScratch {
  std::vector<std::uint64_t> marks;
  std::vector<double> distance;
};

/// Calls visit(j, k, d) for every ordered pair j != k within `reach`
/// (d <= reach), where `bivariate` restricts pairs to different species.
/// Order: j ascending, and for each j, k ascending.
template <class Visit>
void for_each_close_pair(const std::vector<PointRecord>& points, double x_axis,
                         double y_axis, double reach, bool bivariate,
                         PairScratch& scratch, Visit&& visit) {
  const auto n = points.size();
  if (n < 2 || !(reach >= 0)) return;
  const CellGrid grid(points, x_axis, y_axis, reach);
  constexpr int span = CellGrid::kSpan;
  // Squared distances clearly beyond the reach skip the square root; the
  // margin leaves every borderline pair to the exact test d > reach.
  const double reach2_beyond = reach * reach * (1 + 1e-12);
  const std::size_t words = (n + 63) / 64;
  scratch.marks.assign(words, 0);
  scratch.distance.resize(n);
  for (std::size_t j = 0; j < n; ++j) {
    const PointRecord& centre = points[j];
    const int cx = grid.cell_x(centre.x);
    const int cy = grid.cell_y(centre.y);
    std::size_t lo_word = words;
    std::size_t hi_word = 0;
    for (int gy = std::max(cy - span, 0);
         gy <= std::min(cy + span, grid.cells_y() - 1); ++gy) {
      for (int gx = std::max(cx - span, 0);
           gx <= std::min(cx + span, grid.cells_x() - 1); ++gx) {
        for (const std::int32_t* it = grid.begin(gx, gy);
             it != grid.end(gx, gy); ++it) {
          const auto k = static_cast<std::size_t>(*it);
          if (k == j) continue;
          const PointRecord& other = points[k];
          if (bivariate && other.species == centre.species) continue;
          const double dx = centre.x - other.x;
          const double dy = centre.y - other.y;
          const double d2 = dx * dx + dy * dy;
          if (d2 > reach2_beyond) continue;
          const double d = std::sqrt(d2);
          if (d > reach) continue;
          scratch.distance[k] = d;
          const std::size_t w = k >> 6;
          scratch.marks[w] |= std::uint64_t{1} << (k & 63);
          lo_word = std::min(lo_word, w);
          hi_word = std::max(hi_word, w);
        }
      }
    }
    for (std::size_t w = lo_word; w <= hi_word && w < words; ++w) {
      std::uint64_t bits = scratch.marks[w];
      scratch.marks[w] = 0;
      while (bits != 0) {
        const auto k =
            (w << 6) + static_cast<std::size_t>(__builtin_ctzll(bits));
        bits &= bits - 1;
        visit(j, k, scratch.distance[k]);
      }
    }
  }
}

/// Adds w to sums[first], sums[first + 1], .. sums[last].
inline void add_from(std::vector<double>& sums, std::size_t first, double w) {
  double* s = sums.data();
  for (std::size_t i = first, n = sums.size(); i < n; ++i) s[i] += w;
}

/// Calls visit(j, k, first, edges) for every qualifying ordered pair within
/// the largest distance t.back(), in the order of for_each_close_pair: first
/// is the first interval whose t reaches the pair's distance d, and edges the
/// analysis of the circle of radius d around the centre j. `bivariate`
/// restricts pairs to points of different species.
/// The first interval whose t reaches d, guessed from 1 / step and then
/// settled against the very t values, so that rounding never misplaces a
/// pair at an exact boundary. t.size() when there is none.
[[nodiscard]] inline std::size_t first_interval_from_step(
    const std::vector<double>& t, double inverse_step,
    std::int32_t t_min_steps, double d) {
  const std::size_t n = t.size();
  // A truncating conversion is cheaper than ceil; the loops below settle
  // the guess either way.
  const double guess = static_cast<double>(static_cast<std::int64_t>(
                           std::min(d * inverse_step, 9.0e18))) -
                       t_min_steps;
  std::size_t i = 0;
  if (guess >= static_cast<double>(n)) {
    i = n;
  } else if (guess > 0) {
    i = static_cast<std::size_t>(guess);
  }
  while (i > 0 && t[i - 1] >= d) --i;
  while (i < n && t[i] < d) ++i;
  return i;
}

/// Calls visit(j, k, first, edges) for every qualifying ordered pair within
/// the largest distance t.back(), in the order of for_each_close_pair: first
/// is the first interval whose t reaches the pair's distance d, and edges the
/// analysis of the circle of radius d around the centre j. `bivariate`
/// restricts pairs to points of different species.
template <class Visit>
void for_each_weighted_pair(const AnalysisState& state,
                            const std::vector<double>& t, bool bivariate,
                            PairScratch& scratch, Visit&& visit) {
  if (t.empty()) return;
  const auto& points = state.points;
  const double x_axis = state.x_axis;
  const double y_axis = state.y_axis;
  const double reach = t.back();
  const EdgeAnalysis no_edge;
  const double inverse_step = 1 / state.t_interval;
  std::size_t centre_index = points.size();
  bool interior = false;
  for_each_close_pair(
      points, x_axis, y_axis, reach, bivariate, scratch,
      [&](std::size_t j, std::size_t k, double d) {
        const std::size_t first =
            first_interval_from_step(t, inverse_step, state.t_min_steps, d);
        if (first >= t.size()) return;
        const PointRecord& centre = points[j];
        if (j != centre_index) {
          // A centre whose circle of the largest radius crosses no edge
          // crosses none at any smaller radius (rounding is monotonic), so
          // its pairs skip the edge analysis.
          centre_index = j;
          interior = centre.x - reach >= 0 && centre.x + reach <= x_axis &&
                     centre.y - reach >= 0 && centre.y + reach <= y_axis;
        }
        visit(j, k, first,
              interior ? no_edge
                       : analyse_edges(x_axis, y_axis, centre.x, centre.y, d));
      });
}

}  // namespace qlor
