// The sector suffixes of the directions.
#include "model/settings.h"

namespace qlor {

std::array<std::string, 4> sector_suffixes_for(Direction direction_index) {
  switch (direction_index) {
    case Direction::kCardinal:
      return {"_W4", "_N4", "_E4", "_S4"};
    case Direction::kDiagonal:
      return {"_SW", "_NW", "_NE", "_SE"};
    case Direction::kHalfPlanes:
      return {"_W2", "_N2", "_E2", "_S2"};
    case Direction::kNone:
      break;
  }
  return {};
}

void set_direction(RunSettings& settings, Direction direction_index) {
  settings.direction_index = direction_index;
}

}  // namespace qlor
