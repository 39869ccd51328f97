// The intensity of an inhomogeneous analysis: a kernel estimate from the
// points, or a grid of values read from a file, and what both the
// estimators and the null model need of it.
#pragma once

#include <cstdint>
#include <vector>

namespace qlor {

/// Cell values on a regular grid of cell centres: cell (i, j) is centred on
/// (x0 + i dx, y0 + j dy) and holds [c - d/2, c + d/2) along each axis.
/// values[s] holds species s's values row after row (one array for a
/// univariate analysis, two for a bivariate one).
struct IntensityGrid {
  double x0 = 0;
  double y0 = 0;
  double dx = 1;
  double dy = 1;
  std::int32_t nx = 0;
  std::int32_t ny = 0;
  std::vector<std::vector<double>> values;
};

/// The value of species s's intensity at (x, y), a point the grid covers.
[[nodiscard]] double grid_intensity(const IntensityGrid& grid, int species,
                                    double x, double y);

/// The largest value of species s's intensity.
[[nodiscard]] double grid_maximum(const IntensityGrid& grid, int species);

/// The mass inside the plot [0, X) x [0, Y) of an isotropic Gaussian kernel
/// of standard deviation sigma centred on (x, y):
/// [Phi((X - x)/sigma) - Phi(-x/sigma)] [Phi((Y - y)/sigma) - Phi(-y/sigma)].
[[nodiscard]] double edge_mass(double x, double y, double x_axis, double y_axis,
                               double sigma);

/// The smallest edge mass over the plot: at a corner.
[[nodiscard]] double smallest_edge_mass(double x_axis, double y_axis,
                                        double sigma);

/// The Gaussian kernel's default standard deviation: one eighth of the
/// plot's shorter side.
[[nodiscard]] double default_sigma(double x_axis, double y_axis);

}  // namespace qlor
