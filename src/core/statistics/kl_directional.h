// Directional K and L of bivariate patterns: four 90-degree cardinal or
// diagonal sectors, or four 180-degree half-planes.
#pragma once

#include "analysis/analysis_state.h"
#include "statistics/pair_kernel.h"

namespace qlor {

/// Fill the five sector tables for the pattern in `points`.
void compute_kl_cardinal(AnalysisState& state, PairScratch& scratch);
void compute_kl_diagonal(AnalysisState& state, PairScratch& scratch);
void compute_kl_half_planes(AnalysisState& state, PairScratch& scratch);

}  // namespace qlor
