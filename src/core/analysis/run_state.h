// An analysis state made from a run's parameters and points alone, as the
// reading of a sample data file leaves it: what a rank of a parallel run
// and a run from memory start from.
#pragma once

#include "model/analysis_state.h"

namespace qlor {

/// Completes `state`, whose parameters and points are set: the species
/// counts, the simulation lattice from the points' x-coordinates, the
/// cluster generator's tables and the per-distance arrays of
/// `direction_index`. Returns "", "MAF:1" or "MAF:2".
[[nodiscard]] Status complete_run_state(AnalysisState& state,
                                        Direction direction_index);

}  // namespace qlor
