// Seeding of the simulations from the clock.
#include "simulation/lcg_random.h"

#include "model/clock.h"

namespace qlor {

std::uint32_t simulation_seed(const Clock& clock, std::int32_t s) {
  const auto u = static_cast<std::uint32_t>(s);
  return static_cast<std::uint32_t>(clock.now_seconds()) + u * u;
}

}  // namespace qlor
