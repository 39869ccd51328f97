// Worker threads for the simulated patterns. Every pattern draws from a
// stream keyed by the run's seed and s, and its result depends only on the
// observed state, the model and s, so patterns can be made in any order and
// on any thread; the consumer still sees them one by one in order.
#include "analysis/pattern_pipeline.h"

#include <algorithm>
#include <map>
#include <thread>

#include "analysis/pattern_workers.h"

namespace qlor {

PatternOutcome make_pattern(AnalysisState& state, const NullModel& model,
                            const SummaryFunction& function, std::int32_t s,
                            PatternDraws& draws, PairScratch& scratch) {
  PatternOutcome outcome;
  try {
    if (s > 0) {
      draws.start_pattern(s);
      outcome.status = model.simulate(state, draws);
      if (!outcome.status.ok()) return outcome;
    }
    outcome.status = function.estimate(state, scratch, outcome.values);
    if (!outcome.status.ok() && s > 0) {
      outcome.status = "Simulated pattern " + std::to_string(s) + ": " +
                       outcome.status.text();
    }
  } catch (const std::bad_alloc&) {
    outcome.status = Status::allocation_failure(AllocationCause::kSamplePoints);
  }
  return outcome;
}

int effective_threads(int requested) {
  if (requested > 0) return requested;
  return std::max(1u, std::thread::hardware_concurrency());
}

Status run_simulations(const AnalysisState& observed, const NullModel& model,
                       const SummaryFunction& function, std::int32_t first,
                       std::int32_t last, const SimulationEnv& env, int threads,
                       const PatternConsumer& consume) {
  if (first > last) return {};
  const std::int64_t count = static_cast<std::int64_t>(last) - first + 1;
  const int workers = static_cast<int>(
      std::min<std::int64_t>(effective_threads(threads), count));

  if (workers <= 1) {
    AnalysisState state = observed;
    const std::unique_ptr<PatternDraws> draws = make_pattern_draws(env.seed);
    PairScratch scratch;
    for (std::int32_t s = first; s <= last; ++s) {
      PatternOutcome outcome =
          make_pattern(state, model, function, s, *draws, scratch);
      if (!outcome.status.ok()) return outcome.status;
      if (auto status = consume(s, outcome.values); !status.ok()) return status;
    }
    return {};
  }

  // Patterns are claimed in order; a worker waits while it would run more
  // than `window` patterns ahead of the consumer, which bounds memory.
  OrderedNumbers numbers{first, last, std::int64_t{first} - 1,
                         2 * static_cast<std::int64_t>(workers)};
  std::map<std::int32_t, PatternOutcome> finished;
  PatternWorkers pool(
      workers, observed, model, function, env, [&] { return numbers.claim(); },
      [&](std::int32_t s, PatternOutcome outcome) {
        finished.emplace(s, std::move(outcome));
      });

  Status status;
  for (std::int32_t s = first; s <= last && status.ok(); ++s) {
    PatternOutcome outcome;
    {
      std::unique_lock lock(pool.mutex());
      pool.delivered().wait(lock, [&] { return finished.count(s) != 0; });
      outcome = std::move(finished.at(s));
      finished.erase(s);
      numbers.consumed = s;
    }
    pool.wake();
    status = outcome.status.ok() ? consume(s, outcome.values) : outcome.status;
  }
  pool.join();
  return status;
}

}  // namespace qlor
