// The edge-correction weights of many circles around one centre at once,
// bit for bit those of analyse_edges: the edge tests, the ratios and the
// weight formula run as select-only loops the compiler vectorises, and the
// arguments that need an arc cosine are packed and passed to the library's
// acos in one tight loop, their results scattered back.
#pragma once

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "statistics/edge_weight.h"

namespace qlor {

/// Reusable arrays of edge_weights, sized for a centre's candidates.
struct EdgeBatch {
  std::vector<double> arcs;          // two per circle: x edge, y edge
  std::vector<double> arguments;     // acos arguments, packed
  std::vector<std::int32_t> places;  // where each one's arc goes
  std::vector<double> weights;       // by circle

  void resize(std::size_t circles) {
    arcs.resize(2 * circles);
    arguments.resize(2 * circles);
    places.resize(2 * circles);
    weights.resize(circles);
  }
};

/// What a centre's circles share: the centre, the plot and the distances to
/// the plot's corners that decide whether a corner lies inside a circle.
struct EdgeCentre {
  double x;
  double y;
  double x_axis;
  double y_axis;
  double x_far;  // x_axis - x
  double y_far;  // y_axis - y
  double corner[4];

  [[gnu::always_inline]] EdgeCentre(double plot_x, double plot_y, double cx,
                                    double cy)
      : x(cx),
        y(cy),
        x_axis(plot_x),
        y_axis(plot_y),
        x_far(plot_x - cx),
        y_far(plot_y - cy),
        corner{std::sqrt(cx * cx + cy * cy), std::sqrt(cx * cx + y_far * y_far),
               std::sqrt(x_far * x_far + cy * cy),
               std::sqrt(x_far * x_far + y_far * y_far)} {}
};

/// yes ? a : b by bit masks: a select the compiler keeps as one, where a
/// conditional could be turned back into a branch around a division.
[[gnu::always_inline]] inline double select_bits(bool yes, double a, double b) {
  const std::uint64_t mask = std::uint64_t{0} - std::uint64_t{yes};
  return std::bit_cast<double>((std::bit_cast<std::uint64_t>(a) & mask) |
                               (std::bit_cast<std::uint64_t>(b) & ~mask));
}

/// batch.weights[q] = analyse_edges(x_axis, y_axis, x, y, d[q]).w_tot for
/// q < count, with the same IEEE operations on the same operands: a ratio
/// is numerator / d whichever edge it belongs to, an edge not crossed
/// contributes an arc of +0 (so a + 0 is a, and a circle that crosses
/// nothing gets 1 / (1 - 0) = 1), and the corner test compares d with the
/// same four square roots. Returns the number of acos calls.
[[gnu::always_inline]] inline std::size_t edge_weights(const EdgeCentre& c,
                                                       const double* d,
                                                       std::size_t count,
                                                       EdgeBatch& batch) {
  double* arcs = batch.arcs.data();
  double* arguments = batch.arguments.data();
  std::int32_t* places = batch.places.data();
  double* weights = batch.weights.data();
  // The ratios of both edges, crossed or not, and the arcs cleared.
  for (std::size_t q = 0; q < count; ++q) {
    const double dq = d[q];
    const bool west = c.x - dq < 0;
    const bool south = c.y - dq < 0;
    arguments[2 * q] = (west ? c.x : c.x_far) / dq;
    arguments[2 * q + 1] = (south ? c.y : c.y_far) / dq;
    arcs[2 * q] = 0.0;
    arcs[2 * q + 1] = 0.0;
  }
  // Packed in place: the ratios of crossed edges only, in order.
  std::size_t packed = 0;
  for (std::size_t q = 0; q < count; ++q) {
    const double dq = d[q];
    const bool x_crossed = (c.x - dq < 0) | (c.x + dq > c.x_axis);
    const bool y_crossed = (c.y - dq < 0) | (c.y + dq > c.y_axis);
    const double ex = arguments[2 * q];
    const double ey = arguments[2 * q + 1];
    arguments[packed] = ex;
    places[packed] = static_cast<std::int32_t>(2 * q);
    packed += x_crossed ? 1 : 0;
    arguments[packed] = ey;
    places[packed] = static_cast<std::int32_t>(2 * q + 1);
    packed += y_crossed ? 1 : 0;
  }
  for (std::size_t i = 0; i < packed; ++i) {
    arcs[places[i]] = std::acos(arguments[i]);
  }
  // The weights: both formulas and every division for each circle, then
  // selects, so that the loop has no branch.
  for (std::size_t q = 0; q < count; ++q) {
    const double dq = d[q];
    const bool x_crossed = (c.x - dq < 0) | (c.x + dq > c.x_axis);
    const bool y_crossed = (c.y - dq < 0) | (c.y + dq > c.y_axis);
    const double ax = arcs[2 * q];
    const double ay = arcs[2 * q + 1];
    const bool corner_inside = (dq >= c.corner[0]) | (dq >= c.corner[1]) |
                               (dq >= c.corner[2]) | (dq >= c.corner[3]);
    // Ten-digit pi on purpose, as in analyse_edges.
    const double one_edge = (ax + ay) / kPi;
    const double two_edges =
        select_bits(corner_inside, ax + ay + kPi / 2.0, 2 * ax + 2 * ay) /
        (2.0 * kPi);
    const double f = select_bits(x_crossed & y_crossed, two_edges, one_edge);
    weights[q] = 1 / (1 - f);
  }
  return packed;
}

}  // namespace qlor
