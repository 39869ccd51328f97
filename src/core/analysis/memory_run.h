// A whole run in memory: from a run's parameters and points to the curves
// of every pattern, with the result file's envelopes and the tests computed
// from them, and no file read or written. Programs that embed QLOR (the R
// package) start here.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "analysis/app_context.h"
#include "model/analysis_state.h"
#include "model/run_seed.h"
#include "results/curve_source.h"
#include "results/result_file.h"
#include "results/significance_tests.h"

namespace qlor {

struct MemoryRun {
  /// The parameters as the checks leave them (distances, points counted).
  RunParameters parameters;
  /// The run's distances.
  std::vector<double> t;
  /// Per curve of the run's function (one, or four sectors): its files'
  /// suffix ("_g", "_L22_labels": what follows the sample file's stem) and
  /// its curves, the observed one first, every value as the
  /// temporary file would hold it.
  std::vector<std::string> suffixes;
  std::vector<CurveSet> curves;
  /// The observed pattern's curves at full precision, before the
  /// temporary file's six digits.
  CurveSet observed_exact;
  /// The function's value under CSR, and its axis label.
  double csr_value = 0;
  std::string axis_label;
  RunSeed seed;
};

struct MemoryRunOptions {
  /// Called on the run's thread after each pattern is kept, with the
  /// number of patterns kept so far: "" goes on, any other status stops the
  /// run with it (an embedding program's interrupt).
  std::function<Status(std::int32_t kept)> check;
  /// Estimates the observed pattern alone: no simulation.
  bool observed_only = false;
};

/// Runs `parameters` and `points` as a sample data file holding them would
/// run under the context's settings (the same checks, messages, patterns
/// and values), on the context's executor, keeping every curve. Returns ""
/// or the run's failure.
[[nodiscard]] Status run_in_memory(const AppContext& ctx,
                                   const RunParameters& parameters,
                                   const std::vector<PointRecord>& points,
                                   MemoryRun& run,
                                   const MemoryRunOptions& options = {});

/// The text of the result file of curve set `k`. Returns "" or "MAF:n".
[[nodiscard]] Status memory_result_text(const MemoryRun& run, std::size_t k,
                                        std::string& text);

/// The numbers of the result file of curve set `k`, at full precision.
[[nodiscard]] Status memory_envelopes(const MemoryRun& run, std::size_t k,
                                      ResultEnvelopes& envelopes);

/// The statistics of a test of curve set `k` (the observed one's first).
[[nodiscard]] Status memory_test_statistics(const MemoryRun& run, std::size_t k,
                                            TestKind kind, TestCentre centre,
                                            std::vector<double>& statistics);

}  // namespace qlor
