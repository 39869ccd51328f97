// The result file: per distance the upper and lower envelope of the
// simulated patterns and the observed value of L(t) - t.
#pragma once

#include <string>
#include <vector>

#include "model/analysis_state.h"

namespace qlor {

/// Envelopes as the largest and smallest simulated value (fewer than 100
/// simulations). One result file per temporary file, named ".ktt".
/// Returns "", "MAF:3", "MAF:4", the incomplete-file or the write-error text.
[[nodiscard]] Status write_envelopes_minmax(
    const AnalysisState& state, const std::vector<std::string>& tmp_paths);

/// Envelopes as mean +/- 1.96 standard deviations (100 simulations or more).
/// Returns "", "MAF:3", the incomplete-file or the write-error text.
[[nodiscard]] Status write_envelopes_stdev(
    const AnalysisState& state, const std::vector<std::string>& tmp_paths);

/// Writes `text` to `path`, creating or truncating it. Returns "" or the
/// write-error text naming the path.
[[nodiscard]] Status write_text_file(const std::string& path,
                                     const std::string& text);

}  // namespace qlor
