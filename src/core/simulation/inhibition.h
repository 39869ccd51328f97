// Simple sequential inhibition (c = 0) and the Strauss process (0 < c <= 1).
#pragma once

#include <cstdint>
#include <string>

#include "simulation/simulation_common.h"

namespace qlor {

inline constexpr const char* kSsiFailure =
    "Failure to create SSI-plot - 'r_inhibit' too large to generate all "
    "points  ";

/// Replaces `points` by simulated pattern s of the inhibition process.
/// Returns "" or the SSI failure message after 20 failed attempts.
[[nodiscard]] Status simulate_inhibition(AnalysisState& state, std::int32_t s,
                                         const SimulationEnv& env,
                                         LcgRandom& rng);

}  // namespace qlor
