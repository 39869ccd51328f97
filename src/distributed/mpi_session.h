// A qlor process that is one rank of an MPI job. Rank 0 runs the program as
// one process would and hands out pattern numbers; the other ranks only
// make patterns for it, so they print nothing, ask nothing and write no
// file. This header does not need the MPI headers.
#pragma once

#include <memory>

#include "analysis/pattern_executor.h"

namespace qlor::distributed {

class MpiSession {
 public:
  /// Initialises MPI; only each rank's main thread calls it
  /// (MPI_THREAD_FUNNELED). On rank 0 of a job of several ranks, SIGINT,
  /// SIGTERM and SIGHUP end the process between blocks of the temporary
  /// file, never inside one.
  MpiSession(int* argc, char*** argv);
  /// Finalises MPI.
  ~MpiSession();
  MpiSession(const MpiSession&) = delete;
  MpiSession& operator=(const MpiSession&) = delete;

  [[nodiscard]] int rank() const;
  [[nodiscard]] int size() const;
  /// False when the MPI library cannot be used from a threaded process.
  [[nodiscard]] bool threads_supported() const;

  /// Rank 0: spreads the patterns of each run over every rank (the thread
  /// pool when the job has one rank).
  [[nodiscard]] PatternExecutor& executor();

  /// Ranks other than 0: makes patterns for rank 0's runs until rank 0
  /// calls finish().
  void serve();

  /// Rank 0: ends serve() on the other ranks. Call once, at the end.
  void finish();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qlor::distributed
