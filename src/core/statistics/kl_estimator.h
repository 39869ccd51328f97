// Ripley's K and the L statistic L(t) - t of one pattern, with isotropic
// edge correction, at every distance of the run.
#pragma once

#include <cstdint>

#include "model/analysis_state.h"
#include "model/progress_counters.h"
#include "statistics/kernel_isa.h"
#include "statistics/pair_kernel.h"

namespace qlor {

/// Fills `pair_sums` (univariate) or `pair_sums_12`, `pair_sums_21`, `k12`,
/// `k21` (bivariate) and `l_values` for the pattern in `points`. Requires the
/// arrays of the run; a bivariate pattern needs both species.
void compute_kl(AnalysisState& state, PairScratch& scratch);
/// The same with the given variant of the kernel, which the processor must
/// run (the one above picks the widest).
void compute_kl(AnalysisState& state, PairScratch& scratch, KernelIsa isa);
void compute_kl(AnalysisState& state);

/// Sets the counters as an estimator leaves them after pattern s.
void count_pattern_done(const AnalysisState& state, std::int32_t s,
                        ProgressCounters& counters);

}  // namespace qlor
