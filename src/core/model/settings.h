// Program-wide run settings, chosen by the configuration file, the menus or
// the command line, and read by every run.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace qlor {

struct RunSettings {
  std::int32_t significance_index = 0;  // 0 none, 1 supremum, 2 CvM, 3 both
  std::int32_t direction_index = 0;     // 0 none, 1 W/N/E/S, 2 diagonal, 3 half
  std::int32_t randomize_mode = 1;      // 1 species 2 only, 2 both species
  double progress_threshold = 0.0;
  std::array<std::string, 4> sector_suffix{};
  std::int32_t autorun_pending = 0;
};

/// The four temporary-file suffixes of a direction (empty for none).
[[nodiscard]] std::array<std::string, 4> sector_suffixes_for(
    std::int32_t direction_index);

/// Sets the direction and, for a real direction, its sector suffixes; going
/// back to none keeps the last suffixes.
void set_direction(RunSettings& settings, std::int32_t direction_index);

}  // namespace qlor
