// The tables the cluster generator keeps for a run: made once, after the
// sample records are read, and used by every simulated pattern.
#pragma once

#include "model/analysis_state.h"

namespace qlor {

/// Makes the tables of a cluster run: a Poisson table of n_points -
/// n_centers + 1 entries and one offspring count per centre, all zero.
/// Returns "" or "MAF:1" (the table first, then the counts; a table already
/// obtained stays with the tables).
[[nodiscard]] Status make_cluster_tables(ClusterTables& tables,
                                         const RunParameters& parameters);

}  // namespace qlor
