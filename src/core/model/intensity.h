// The intensity of an inhomogeneous analysis: a kernel estimate from the
// points, or a grid of values read from a file, and what both the
// estimators and the null model need of it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/status.h"

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

/// Where the intensity of an inhomogeneous analysis comes from.
enum class IntensitySource : std::int32_t {
  kNone = 0,    // a homogeneous analysis
  kKernel = 1,  // the Gaussian kernel estimate from each pattern's points
  kFile = 2,    // a grid of values read from a file
};

/// The intensity a user asked for: "none", "kernel", "kernel:SIGMA" or the
/// path of a grid file.
struct IntensitySetting {
  IntensitySource source = IntensitySource::kNone;
  double sigma = 0;  // the kernel's; 0: default_sigma
  std::string path;  // the file's

  friend bool operator==(const IntensitySetting&,
                         const IntensitySetting&) = default;
};

/// The intensity of one run, resolved: the kernel's standard deviation, or
/// the grid read from the file.
struct Intensity {
  IntensitySource source = IntensitySource::kNone;
  double sigma = 0;
  std::shared_ptr<const IntensityGrid> grid;
  std::string path;  // the grid file's, for messages

  [[nodiscard]] bool inhomogeneous() const {
    return source != IntensitySource::kNone;
  }
};

/// Reads the text of an intensity setting (as --intensity and INTENSITY=
/// give it) into `setting`: "" or the message for a kernel's sigma that is
/// not a number above 0.
[[nodiscard]] Status parse_intensity_setting(const std::string& text,
                                             IntensitySetting& setting);

/// The setting as its text reads: "none", "kernel", "kernel:2.5", a path.
[[nodiscard]] std::string intensity_setting_text(
    const IntensitySetting& setting);

/// The intensity of a run as the run's lines show it: "kernel, sigma 12.5"
/// or "file habitat.csv".
[[nodiscard]] std::string describe_intensity(const Intensity& intensity);

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
