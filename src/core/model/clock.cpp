// The system calendar clock.
#include "model/clock.h"

#include <ctime>

namespace qlor {

std::int64_t SystemClock::now_seconds() const {
  return static_cast<std::int64_t>(std::time(nullptr));
}

}  // namespace qlor
