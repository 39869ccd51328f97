// Ripley's isotropic edge correction for a rectangular plot: which edges a
// circle crosses, whether a plot corner lies inside it, and the weight.
#pragma once

#include <array>

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
[[nodiscard]] EdgeAnalysis analyse_edges(double x_axis, double y_axis,
                                         double x, double y, double d);

/// The edge-correction weight of a pair at distance d around (x, y).
[[nodiscard]] inline double edge_weight(double x_axis, double y_axis, double x,
                                        double y, double d) {
  return analyse_edges(x_axis, y_axis, x, y, d).w_tot;
}

}  // namespace qlor
