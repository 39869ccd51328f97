// Complete spatial randomness on the simulation grid.
#pragma once

#include <cstdint>
#include <string>

#include "simulation/simulation_common.h"

namespace qlor {

/// Replaces `points` by simulated pattern s under CSR. Returns "" or the CSR
/// failure message when the grid cannot hold the points.
[[nodiscard]] Status simulate_csr(AnalysisState& state, std::int32_t s,
                                  const SimulationEnv& env, LcgRandom& rng);

}  // namespace qlor
