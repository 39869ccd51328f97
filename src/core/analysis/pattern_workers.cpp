// A worker claims a number under the lock, makes the pattern without it and
// delivers the outcome under it again.
#include "analysis/pattern_workers.h"

#include <utility>

namespace qlor {

std::int64_t OrderedNumbers::claim() {
  if (next > last) return PatternWorkers::kDone;
  if (next > consumed + window) return PatternWorkers::kWait;
  return next++;
}

PatternWorkers::PatternWorkers(int workers, const AnalysisState& observed,
                               const NullModel& model,
                               const SummaryFunction& function,
                               const SimulationEnv& env, Claim claim,
                               Deliver deliver)
    : observed_(observed),
      model_(model),
      function_(function),
      env_(env),
      claim_(std::move(claim)),
      deliver_(std::move(deliver)) {
  threads_.reserve(static_cast<std::size_t>(workers));
  for (int w = 0; w < workers; ++w) threads_.emplace_back([this] { work(); });
}

PatternWorkers::~PatternWorkers() { join(); }

void PatternWorkers::stop() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  claimable_.notify_all();
}

void PatternWorkers::join() {
  stop();
  for (auto& t : threads_) {
    if (t.joinable()) t.join();
  }
}

void PatternWorkers::work() {
  AnalysisState state = observed_;
  const std::unique_ptr<PatternDraws> draws = make_pattern_draws(env_.seed);
  PairScratch scratch;
  for (;;) {
    std::int64_t s = kWait;
    {
      std::unique_lock lock(mutex_);
      claimable_.wait(lock, [&] {
        if (stopping_) return true;
        s = claim_();
        return s != kWait;
      });
      if (stopping_ || s == kDone) return;
    }
    PatternOutcome outcome =
        make_pattern(state, model_, function_, static_cast<std::int32_t>(s),
                     *draws, scratch);
    {
      std::lock_guard lock(mutex_);
      deliver_(static_cast<std::int32_t>(s), std::move(outcome));
    }
    delivered_.notify_all();
  }
}

}  // namespace qlor
