// Direction settings and their sector suffixes.
#include "model/settings.h"

namespace qlor {

std::array<std::string, 4> sector_suffixes_for(std::int32_t direction_index) {
  switch (direction_index) {
    case 1:
      return {"_W4", "_N4", "_E4", "_S4"};
    case 2:
      return {"_SW", "_NW", "_NE", "_SE"};
    case 3:
      return {"_W2", "_N2", "_E2", "_S2"};
    default:
      return {};
  }
}

void set_direction(RunSettings& settings, std::int32_t direction_index) {
  settings.direction_index = direction_index;
  if (direction_index != 0) {
    settings.sector_suffix = sector_suffixes_for(direction_index);
  }
}

}  // namespace qlor
