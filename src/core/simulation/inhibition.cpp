// Placeholder until the inhibition generator lands.
#include "simulation/inhibition.h"

namespace qlor {

std::string simulate_inhibition(AnalysisState&, std::int32_t,
                                const SimulationEnv&, LcgRandom&) {
  return kSsiFailure;
}

}  // namespace qlor
