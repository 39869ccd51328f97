// The intensity grid file of an inhomogeneous analysis: a CSV table with a
// header row "x,y,intensity" (bivariate: "x,y,intensity1,intensity2") and
// one row per cell centre of a regular grid covering the plot, as R's
// as.data.frame() of a spatstat image gives it.
#pragma once

#include <string>

#include "model/intensity.h"
#include "model/status.h"

namespace qlor {

/// Reads the grid text of the file named `name` (for the messages). The
/// centres must form a regular grid, every cell given once, and cover the
/// plot [0, x_axis) x [0, y_axis), both to within 1e-9 of a cell; values
/// must be finite and not negative. Returns "" or a message naming the file
/// and the row.
[[nodiscard]] Status parse_intensity_grid(const std::string& text,
                                          const std::string& name,
                                          bool bivariate, double x_axis,
                                          double y_axis, IntensityGrid& grid);

/// Reads the grid file at `path` as parse_intensity_grid does.
[[nodiscard]] Status read_intensity_grid(const std::string& path,
                                         bool bivariate, double x_axis,
                                         double y_axis, IntensityGrid& grid);

}  // namespace qlor
