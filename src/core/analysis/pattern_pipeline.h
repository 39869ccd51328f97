// Simulated patterns generated and estimated on worker threads, handed on in
// pattern order, so that the files are the same whatever the thread count.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/analysis_state.h"
#include "simulation/null_model.h"
#include "simulation/simulation_common.h"
#include "statistics/pair_kernel.h"
#include "statistics/summary_function.h"

namespace qlor {

/// Receives pattern s's values in order; returns "" or a text that stops
/// the run.
using PatternConsumer =
    std::function<Status(std::int32_t s, const PatternValues& values)>;

/// The number of worker threads for a request (0: every hardware thread).
[[nodiscard]] int effective_threads(int requested);

/// Simulates and estimates patterns first .. last (pattern 0, the observed
/// one, is only estimated) from `observed` under `model` (prepared for the
/// run), the curves of `function`, with `threads` workers, each on its own copy
/// of the state and its own draws, and gives each pattern's values to `consume`
/// on the calling thread in increasing s. Stops at the first simulation failure
/// in pattern order (that pattern is not consumed) or the first consumer
/// failure, and returns that text; "" when every pattern was consumed. At
/// most a few patterns per thread are held at once.
[[nodiscard]] Status run_simulations(const AnalysisState& observed,
                                     const NullModel& model,
                                     const SummaryFunction& function,
                                     std::int32_t first, std::int32_t last,
                                     const SimulationEnv& env, int threads,
                                     const PatternConsumer& consume);

/// One pattern's values, or the text of its simulation failure.
struct PatternOutcome {
  Status status;
  PatternValues values;
};

/// Simulates (s > 0) and estimates pattern s on `state`, a worker's own copy
/// of the observed state, with the worker's `draws` started at s; pattern 0
/// is the observed pattern as it stands. The outcome depends only on the
/// observed state, the model, the run's seed and s, never on the patterns
/// the worker made before.
[[nodiscard]] PatternOutcome make_pattern(AnalysisState& state,
                                          const NullModel& model,
                                          const SummaryFunction& function,
                                          std::int32_t s, PatternDraws& draws,
                                          PairScratch& scratch);

}  // namespace qlor
