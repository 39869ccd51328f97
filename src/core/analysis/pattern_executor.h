// Where the simulated patterns of a run are made: on this process's worker
// threads, or spread over the processes of a parallel job. The run driver
// sees only this interface, so every run gives the same files either way.
#pragma once

#include <cstdint>
#include <string>

#include "analysis/pattern_pipeline.h"

namespace qlor {

class PatternExecutor {
 public:
  virtual ~PatternExecutor() = default;

  /// Makes patterns first .. last from `observed` under `model` (prepared
  /// for the run with `env`), the curves of `function`, and gives each one's
  /// values to `consume` on the calling thread in increasing s, with the
  /// contract of run_simulations: it stops at the first simulation failure
  /// in pattern order (not consumed) or the first consumer failure and
  /// returns that text; "" when every pattern was consumed. `threads` is
  /// the number of worker threads per process (0: every hardware thread).
  [[nodiscard]] virtual Status run(const AnalysisState& observed,
                                   const NullModel& model,
                                   const SummaryFunction& function,
                                   std::int32_t first, std::int32_t last,
                                   const SimulationEnv& env, int threads,
                                   const PatternConsumer& consume) = 0;
};

/// The worker threads of this process (run_simulations).
class ThreadedExecutor final : public PatternExecutor {
 public:
  [[nodiscard]] Status run(const AnalysisState& observed,
                           const NullModel& model,
                           const SummaryFunction& function, std::int32_t first,
                           std::int32_t last, const SimulationEnv& env,
                           int threads,
                           const PatternConsumer& consume) override {
    return run_simulations(observed, model, function, first, last, env, threads,
                           consume);
  }
};

/// The executor of a context that names none: the worker threads.
[[nodiscard]] inline PatternExecutor& default_executor() {
  static ThreadedExecutor threaded;
  return threaded;
}

}  // namespace qlor
