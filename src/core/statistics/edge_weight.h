// Ripley's isotropic edge correction for a rectangular plot: which edges a
// circle crosses, whether a plot corner lies inside it, and the weight.
#pragma once

#include <array>
#include <cmath>

#include "model/fixed_math.h"

namespace qlor {

/// The ten-digit pi of every estimator (not the full double value).
inline constexpr double kPi = 3.141592654;

/// Edge, sector and corner indices: 0 west, 1 north, 2 east, 3 south; corner
/// c lies between edges c and (c + 3) mod 4.
struct EdgeAnalysis {
  int crossed = 0;             // number of crossed edges: 0, 1 or 2
  int edge = -1;               // one edge crossed: its index m
  int corner = -1;             // two edges crossed: corner c
  bool corner_inside = false;  // two edges crossed: corner within the circle
  std::array<double, 4> e{};   // edge ratios of the crossed edges
  std::array<double, 4> a{};   // their arc cosines
  double f = 0.0;              // fraction of the circle outside the plot
  double w_tot = 1.0;          // 1 / (1 - f)
};

/// Analyses the circle of radius d around the centre (x, y) in the plot
/// [0, x_axis] x [0, y_axis]. Assumes d does not exceed half of either side.
/// Inline: the estimators call it for every close pair, and the plain
/// estimator needs only the weight.
[[nodiscard]] inline EdgeAnalysis analyse_edges(double x_axis, double y_axis,
                                                double x, double y, double d);

/// The edge-correction weight of a pair at distance d around (x, y).
[[nodiscard]] inline double edge_weight(double x_axis, double y_axis, double x,
                                        double y, double d) {
  return analyse_edges(x_axis, y_axis, x, y, d).w_tot;
}

// Strict tests: a circle that only touches an edge crosses nothing.
// Ten-digit pi on purpose: the west-edge weight is 1.99999999974, not 2.
inline EdgeAnalysis analyse_edges(double x_axis, double y_axis, double x,
                                  double y, double d) {
  EdgeAnalysis r;
  // Strict tests: a circle that only touches an edge crosses nothing.
  int x_edge = -1;
  if (x - d < 0) {
    x_edge = 0;
    r.e[0] = x / d;
  } else if (x + d > x_axis) {
    x_edge = 2;
    r.e[2] = (x_axis - x) / d;
  }
  int y_edge = -1;
  if (y - d < 0) {
    y_edge = 3;
    r.e[3] = y / d;
  } else if (y + d > y_axis) {
    y_edge = 1;
    r.e[1] = (y_axis - y) / d;
  }
  if (x_edge < 0 && y_edge < 0) return r;

  if (x_edge >= 0) r.a[x_edge] = fixed_acos(r.e[x_edge]);
  if (y_edge >= 0) r.a[y_edge] = fixed_acos(r.e[y_edge]);
  if (x_edge < 0 || y_edge < 0) {
    r.crossed = 1;
    r.edge = x_edge >= 0 ? x_edge : y_edge;
    r.f = r.a[r.edge] / kPi;
  } else {
    r.crossed = 2;
    // Corner c lies between edges c and (c + 3) mod 4.
    r.corner = x_edge == 0 ? (y_edge == 3 ? 0 : 1) : (y_edge == 1 ? 2 : 3);
    const double dx_far = x_axis - x;
    const double dy_far = y_axis - y;
    r.corner_inside = d >= std::sqrt(x * x + y * y) ||
                      d >= std::sqrt(x * x + dy_far * dy_far) ||
                      d >= std::sqrt(dx_far * dx_far + y * y) ||
                      d >= std::sqrt(dx_far * dx_far + dy_far * dy_far);
    const double ax = r.a[x_edge];
    const double ay = r.a[y_edge];
    // Ten-digit pi on purpose: the west-edge weight is 1.99999999974, not 2.
    if (r.corner_inside) {
      r.f = (ax + ay + kPi / 2.0) / (2.0 * kPi);
    } else {
      r.f = (2 * ax + 2 * ay) / (2.0 * kPi);
    }
  }
  r.w_tot = 1 / (1 - r.f);
  return r;
}

}  // namespace qlor
