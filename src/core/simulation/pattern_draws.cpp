// The generator of a run, chosen in this one place.
#include "simulation/pattern_draws.h"

#include "simulation/classic_draws.h"
#include "simulation/philox_draws.h"

namespace qlor {

std::unique_ptr<PatternDraws> make_pattern_draws(const RunSeed& seed) {
  switch (seed.generator) {
    case GeneratorKind::kClassic:
      return std::make_unique<ClassicDraws>(seed.seed);
    case GeneratorKind::kPhilox:
      break;
  }
  return std::make_unique<PhiloxDraws>(seed.seed);
}

}  // namespace qlor
