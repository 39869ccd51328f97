// The generator of the null model named by the header.
#pragma once

#include "simulation/cluster.h"
#include "simulation/csr.h"
#include "simulation/inhibition.h"

namespace qlor {

/// Replaces `points` by simulated pattern s (s >= 1) of the file's null
/// model. Returns "" or the generator's failure text.
[[nodiscard]] inline std::string simulate_pattern(AnalysisState& state,
                                                  std::int32_t s,
                                                  const SimulationEnv& env,
                                                  LcgRandom& rng) {
  switch (state.process_type) {
    case 1:
      return simulate_inhibition(state, s, env, rng);
    case 2:
      return simulate_cluster(state, s, env, rng);
    default:
      return simulate_csr(state, s, env, rng);
  }
}

}  // namespace qlor
