// Grid lookups and the Gaussian kernel's mass inside the plot.
#include "model/intensity.h"

#include <algorithm>
#include <cmath>

namespace qlor {

namespace {

// Phi(b) - Phi(a) for a <= b, from erfc of the smaller tail, which keeps
// its precision far out in either tail.
double normal_mass(double a, double b) {
  constexpr double kSqrtHalf = 0.70710678118654752440;
  if (a >= 0)
    return 0.5 * (std::erfc(a * kSqrtHalf) - std::erfc(b * kSqrtHalf));
  if (b <= 0) {
    return 0.5 * (std::erfc(-b * kSqrtHalf) - std::erfc(-a * kSqrtHalf));
  }
  return 1.0 - 0.5 * (std::erfc(-a * kSqrtHalf) + std::erfc(b * kSqrtHalf));
}

std::int32_t cell_index(double v, double first, double d, std::int32_t n) {
  const double q = std::floor((v - first) / d + 0.5);
  return static_cast<std::int32_t>(std::clamp(q, 0.0, n - 1.0));
}

}  // namespace

double grid_intensity(const IntensityGrid& grid, int species, double x,
                      double y) {
  const std::int32_t i = cell_index(x, grid.x0, grid.dx, grid.nx);
  const std::int32_t j = cell_index(y, grid.y0, grid.dy, grid.ny);
  return grid.values[static_cast<std::size_t>(species)]
                    [static_cast<std::size_t>(j) * grid.nx + i];
}

double grid_maximum(const IntensityGrid& grid, int species) {
  const auto& v = grid.values[static_cast<std::size_t>(species)];
  return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
}

double edge_mass(double x, double y, double x_axis, double y_axis,
                 double sigma) {
  return normal_mass(-x / sigma, (x_axis - x) / sigma) *
         normal_mass(-y / sigma, (y_axis - y) / sigma);
}

double smallest_edge_mass(double x_axis, double y_axis, double sigma) {
  // Each factor is symmetric about the plot's middle and smallest at its
  // edges.
  return edge_mass(0, 0, x_axis, y_axis, sigma);
}

double default_sigma(double x_axis, double y_axis) {
  return std::min(x_axis, y_axis) / 8;
}

}  // namespace qlor
