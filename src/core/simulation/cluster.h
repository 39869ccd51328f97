// The cluster process: Poisson offspring around parent points.
#pragma once

#include <cstdint>
#include <string>

#include "simulation/simulation_common.h"

namespace qlor {

inline constexpr const char* kClusterFailure =
    "Failure to create Cluster-plot - 'r_cluster' too small to generate all "
    "points  ";

/// Replaces `points` by simulated pattern s of the cluster process. The
/// call with s = 1 of a bivariate mode-1 run also sorts the points by
/// species and selects the centres (kept for the rest of the run). Expects
/// the tables of make_cluster_tables (cluster_tables.h).
/// Returns "", "MAF:1" or the cluster failure message.
[[nodiscard]] Status simulate_cluster(AnalysisState& state, std::int32_t s,
                                      const SimulationEnv& env, LcgRandom& rng);

}  // namespace qlor
