// What makes a run's simulations repeatable: the generator and the seed.
#pragma once

#include <cstdint>
#include <string>

#include "model/choices.h"

namespace qlor {

class Clock;

struct RunSeed {
  GeneratorKind generator = GeneratorKind::kPhilox;
  std::uint32_t seed = 0;
};

/// The seed of a run that starts now: the clock's whole seconds (the time
/// that --seed fixes), in 32 bits.
[[nodiscard]] RunSeed run_seed_now(GeneratorKind generator, const Clock& clock);

/// "generator: philox, seed 1733840000", as the run's summary and closing
/// line show it.
[[nodiscard]] std::string run_seed_text(const RunSeed& seed);

}  // namespace qlor
