// The generator of the null model named by the header.
#pragma once

#include "simulation/cluster.h"
#include "simulation/csr.h"
#include "simulation/inhibition.h"

namespace qlor {

/// Replaces `points` by simulated pattern s (s >= 1) of the file's null
/// model. Returns "" or the generator's failure text.
[[nodiscard]] inline Status simulate_pattern(AnalysisState& state,
                                             std::int32_t s,
                                             const SimulationEnv& env,
                                             LcgRandom& rng) {
  switch (state.process_type) {
    case ProcessType::kInhibition:
      return simulate_inhibition(state, s, env, rng);
    case ProcessType::kCluster:
      return simulate_cluster(state, s, env, rng);
    case ProcessType::kCsr:
      break;
  }
  return simulate_csr(state, s, env, rng);
}

}  // namespace qlor
