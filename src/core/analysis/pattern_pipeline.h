// Simulated patterns generated and estimated on worker threads, handed on in
// pattern order, so that the files are the same whatever the thread count.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/analysis_state.h"
#include "simulation/simulation_common.h"

namespace qlor {

/// The L values of one pattern: one array, or one per sector.
using PatternValues = std::vector<std::vector<double>>;

/// Receives pattern s's values in order; returns "" or a text that stops
/// the run.
using PatternConsumer =
    std::function<Status(std::int32_t s, const PatternValues& values)>;

/// The number of worker threads for a request (0: every hardware thread).
[[nodiscard]] int effective_threads(int requested);

/// Simulates and estimates patterns first .. last (pattern 0, the observed
/// one, is only estimated) from `prepared` (whose
/// generator preparation is done) with `threads` workers, each on its own
/// copy of the state, and gives each pattern's values to `consume` on the
/// calling thread in increasing s. Stops at the first simulation failure in
/// pattern order (that pattern is not consumed) or the first consumer
/// failure, and returns that text; "" when every pattern was consumed. At
/// most a few patterns per thread are held at once.
[[nodiscard]] Status run_simulations(const AnalysisState& prepared,
                                          std::int32_t first, std::int32_t last,
                                          const SimulationEnv& env,
                                          Direction direction_index,
                                          int threads,
                                          const PatternConsumer& consume);

/// Copies the values that the estimator left for the temporary file(s).
[[nodiscard]] PatternValues take_values(const AnalysisState& state,
                                        Direction direction_index);

}  // namespace qlor
