// The seed of a run, read once from the clock at its start.
#include "model/run_seed.h"

#include "model/clock.h"

namespace qlor {

RunSeed run_seed_now(GeneratorKind generator, const Clock& clock) {
  return {generator, static_cast<std::uint32_t>(clock.now_seconds())};
}

std::string run_seed_text(const RunSeed& seed) {
  return std::string("generator: ") + generator_name(seed.generator) +
         ", seed " + std::to_string(seed.seed);
}

}  // namespace qlor
