// The bytes that travel between the ranks of a parallel run: the job (the
// prepared analysis state and how to make its patterns) and each pattern's
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
  Direction direction_index = Direction::kNone;
  /// Worker threads per rank as requested (0: each rank's cores).
  std::int32_t threads = 0;
  RandomizeMode randomize_mode = RandomizeMode::kSpecies2;
  /// Every seed reads this clock time (--seed); otherwise each rank reads
  /// its own clock at each generator call, as one process does.
  bool fixed_clock = false;
  std::int64_t fixed_seconds = 0;
};

/// The header of a job that makes patterns first .. last as `env` and the
/// direction ask, with `threads` worker threads per rank. A fixed clock
/// (--seed) is read the same on every rank and travels with the job; any
/// other clock is read by each rank at each generator call.
[[nodiscard]] JobHeader make_job_header(std::int32_t first, std::int32_t last,
                                        const SimulationEnv& env,
                                        Direction direction_index, int threads);

using Bytes = std::vector<char>;

/// The job as bytes: the header and every field of the prepared state.
[[nodiscard]] Bytes encode_job(const JobHeader& header,
                               const AnalysisState& prepared);

/// Reads what encode_job wrote; false when the bytes are not a whole job of
/// this build.
[[nodiscard]] bool decode_job(std::span<const char> bytes, JobHeader& header,
                              AnalysisState& prepared);

/// Pattern s's outcome as bytes.
[[nodiscard]] Bytes encode_outcome(std::int32_t s,
                                   const PatternOutcome& outcome);

/// Reads what encode_outcome wrote; false when the bytes are malformed.
[[nodiscard]] bool decode_outcome(std::span<const char> bytes, std::int32_t& s,
                                  PatternOutcome& outcome);

}  // namespace qlor::distributed
