// Fuzz target: the intensity grid reader. Any message is fine; crashes,
// sanitizer reports and a grid accepted that does not cover the plot, or
// whose lookups leave its cells, are not.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "input/intensity_grid.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size < 1) return 0;
  const bool bivariate = (data[0] & 1) != 0;
  const double x_axis = 1 + (data[0] >> 1) % 8;
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  qlor::IntensityGrid grid;
  if (!qlor::parse_intensity_grid(text, "f.csv", bivariate, x_axis, 3, grid)
           .ok()) {
    return 0;
  }
  const std::size_t species = bivariate ? 2 : 1;
  if (grid.values.size() != species ||
      grid.values[0].size() != static_cast<std::size_t>(grid.nx) * grid.ny) {
    std::abort();
  }
  // Every corner of the plot lies in a cell.
  for (const double x : {0.0, x_axis * 0.999999}) {
    for (const double y : {0.0, 2.999999}) {
      for (std::size_t s = 0; s < species; ++s) {
        if (qlor::grid_intensity(grid, static_cast<int>(s), x, y) < 0) {
          std::abort();
        }
      }
    }
  }
  return 0;
}
