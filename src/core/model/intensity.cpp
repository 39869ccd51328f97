// Grid lookups and the Gaussian kernel's mass inside the plot.
#include "model/intensity.h"

#include <algorithm>
#include <cmath>

#include "model/decimal.h"

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

Status parse_intensity_setting(const std::string& text,
                               IntensitySetting& setting) {
  IntensitySetting parsed;
  if (text.empty() || text == "none") {
    setting = parsed;
    return {};
  }
  const std::string kernel = "kernel";
  if (text == kernel) {
    parsed.source = IntensitySource::kKernel;
  } else if (text.starts_with(kernel + ":")) {
    const std::string number = text.substr(kernel.size() + 1);
    double sigma = 0;
    if (!parse_positive_length(number, sigma)) {
      return "the kernel's sigma must be a number above 0, not '" + number +
             "'";
    }
    parsed.source = IntensitySource::kKernel;
    parsed.sigma = sigma;
  } else {
    parsed.source = IntensitySource::kFile;
    parsed.path = text;
  }
  setting = parsed;
  return {};
}

std::string intensity_setting_text(const IntensitySetting& setting) {
  switch (setting.source) {
    case IntensitySource::kNone:
      break;
    case IntensitySource::kKernel:
      return setting.sigma > 0 ? "kernel:" + shortest_decimal(setting.sigma)
                               : "kernel";
    case IntensitySource::kFile:
      return setting.path;
  }
  return "none";
}

std::string describe_intensity(const Intensity& intensity) {
  switch (intensity.source) {
    case IntensitySource::kNone:
      break;
    case IntensitySource::kKernel:
      return "kernel, sigma " + shortest_decimal(intensity.sigma);
    case IntensitySource::kFile:
      return "file " + intensity.path;
  }
  return "homogeneous";
}

double default_sigma(double x_axis, double y_axis) {
  return std::min(x_axis, y_axis) / 8;
}

}  // namespace qlor
