// The stages every run shares: reading and checking a sample data file, the
// pattern loop (simulate, estimate, write the temporary file) and the
// result files.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "analysis/app_context.h"
#include "input/record_reader.h"
#include "model/analysis_state.h"

namespace qlor {

/// Reads the header, the header values and the records of `input_path` and
/// derives the simulation grid. Returns "" or the first failing stage's text.
[[nodiscard]] Status read_sample_file(AppContext& ctx, AnalysisState& state,
                                      RecordPass pass = RecordPass::kSingle);

/// Runs pattern 0 (the sample) and the simulated patterns 1 .. n through
/// simulation, estimation and the temporary file, calling `after_pattern`
/// with s after each pattern is written. Sets `tmp_file_name` (and the
/// sector names). Releases the run's arrays at the end. Returns "" or the
/// text that stopped the loop (a simulation failure or a write error); the
/// patterns written so far stay in the temporary file.
[[nodiscard]] Status run_patterns(
    AppContext& ctx, AnalysisState& state,
    const std::function<void(std::int32_t)>& after_pattern);

/// Writes the result file(s) and then the tests of significance selected.
/// Returns "" or the failing writer's text.
[[nodiscard]] Status write_results(AppContext& ctx, const AnalysisState& state);

/// Runs the tests of significance selected on `tmp_file_name`. Returns ""
/// or the failing test's text.
[[nodiscard]] Status write_tests(AppContext& ctx, const AnalysisState& state);

}  // namespace qlor
