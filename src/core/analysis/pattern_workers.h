// Worker threads that make simulated patterns, each on its own copy of the
// observed state. The thread pool and the MPI ranks share them and differ
// only in where the numbers come from and where the outcomes go.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "analysis/pattern_pipeline.h"

namespace qlor {

/// Pattern numbers handed out in increasing order, never more than
/// `window` ahead of the last one consumed. Read and changed under the
/// pool's lock.
struct OrderedNumbers {
  std::int64_t next;
  std::int64_t last;
  std::int64_t consumed;
  std::int64_t window;

  /// The next number, or PatternWorkers::kWait or kDone.
  [[nodiscard]] std::int64_t claim();
};

class PatternWorkers {
 public:
  /// Called under the pool's lock: the next pattern number to make, kWait
  /// to sleep until `wake`, or kDone to end the worker.
  using Claim = std::function<std::int64_t()>;
  /// Called under the pool's lock with each pattern made.
  using Deliver = std::function<void(std::int32_t s, PatternOutcome outcome)>;
  static constexpr std::int64_t kWait = -1;
  static constexpr std::int64_t kDone = -2;

  /// Starts `workers` threads. `observed`, `model`, `function`, `env`,
  /// `claim` and `deliver` must outlive the pool.
  PatternWorkers(int workers, const AnalysisState& observed,
                 const NullModel& model, const SummaryFunction& function,
                 const SimulationEnv& env, Claim claim, Deliver deliver);
  PatternWorkers(const PatternWorkers&) = delete;
  PatternWorkers& operator=(const PatternWorkers&) = delete;
  /// Stops and joins the workers.
  ~PatternWorkers();

  /// The lock under which claim and deliver run; hold it while changing
  /// what they read or write.
  [[nodiscard]] std::mutex& mutex() { return mutex_; }
  /// Notified after each delivery; wait on it with `mutex()` held.
  [[nodiscard]] std::condition_variable& delivered() { return delivered_; }
  /// Wakes waiting workers after a change to what `claim` sees (call
  /// without the lock).
  void wake() { claimable_.notify_all(); }
  /// Lets each worker end after its current pattern; claims no more.
  void stop();
  /// Stops the workers and waits for them to end.
  void join();

 private:
  void work();

  const AnalysisState& observed_;
  const NullModel& model_;
  const SummaryFunction& function_;
  const SimulationEnv& env_;
  const Claim claim_;
  const Deliver deliver_;
  std::mutex mutex_;
  std::condition_variable claimable_;
  std::condition_variable delivered_;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace qlor
