// The bytes that travel between the ranks of a parallel run: the job (the
// observed analysis state and how to make its patterns) and each pattern's
// outcome. Every rank runs the same build on the same kind of processor,
// so numbers travel in their memory form, bit for bit.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "analysis/pattern_pipeline.h"
#include "model/analysis_state.h"

namespace qlor::distributed {

/// How the patterns of one run are made, beside the prepared state.
struct JobHeader {
  std::int32_t first = 0;
  std::int32_t last = 0;
  /// The summary function, as every rank makes it again.
  FunctionChoice function;
  /// Worker threads per rank as requested (0: each rank's cores).
  std::int32_t threads = 0;
  RandomizeMode randomize_mode = RandomizeMode::kSpecies2;
  NullKind null_kind = NullKind::kHeader;
  /// The run's generator and seed: every rank draws the same streams.
  RunSeed seed;
};

/// The header of a job that makes patterns first .. last as `env` and
/// `function` ask, with `threads` worker threads per rank.
[[nodiscard]] JobHeader make_job_header(std::int32_t first, std::int32_t last,
                                        const SimulationEnv& env,
                                        const SummaryFunction& function,
                                        int threads);

using Bytes = std::vector<char>;

/// The job as bytes: the header, the run's parameters and the observed
/// points.
[[nodiscard]] Bytes encode_job(const JobHeader& header,
                               const AnalysisState& observed);

/// Reads what encode_job wrote and derives the rest of the observed state
/// from it (complete_run_state); false when the bytes are not a whole job
/// of this build or the state cannot be made.
[[nodiscard]] bool decode_job(std::span<const char> bytes, JobHeader& header,
                              AnalysisState& observed);

/// Pattern s's outcome as bytes.
[[nodiscard]] Bytes encode_outcome(std::int32_t s,
                                   const PatternOutcome& outcome);

/// Reads what encode_outcome wrote; false when the bytes are malformed.
[[nodiscard]] bool decode_outcome(std::span<const char> bytes, std::int32_t& s,
                                  PatternOutcome& outcome);

}  // namespace qlor::distributed
