// The cluster process: Poisson offspring around parent points.
#pragma once

#include <memory>

#include "simulation/null_model.h"

namespace qlor {

inline constexpr const char* kClusterFailure =
    "Failure to create Cluster-plot - 'r_cluster' too small to generate all "
    "points  ";

/// Centres (drawn on the plot, or in a bivariate run that keeps species 1,
/// m species-1 points chosen once for the run) and around them offspring
/// whose counts add up to the points to place. Expects the tables of
/// make_cluster_tables (cluster_tables.h). Preparing fails with "MAF:1";
/// a pattern fails with kClusterFailure after 20 failed attempts.
[[nodiscard]] std::unique_ptr<NullModel> make_cluster_model(
    RandomizeMode randomize_mode);

}  // namespace qlor
