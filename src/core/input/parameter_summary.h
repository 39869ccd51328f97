// The summary of recognised parameters shown before a run and after each
// file of a batch pre-check.
#pragma once

#include <string>

#include "model/analysis_state.h"

namespace qlor {

inline constexpr const char* kAborted = "A N A L Y S I S    A B O R T E D  ";

/// The summary with the question of an interactive run; `run_line` (the
/// generator and seed) follows the number of points. A run whose null model
/// is not the header's names it in `model` ("Heterogeneous Poisson ..."),
/// and the header's model parameters are shown as not used.
[[nodiscard]] std::string confirm_parameters_text(
    const AnalysisState& state, const std::string& run_line,
    const std::string& model = {});

/// The summary of a batch pre-check for the file named `file_title`.
[[nodiscard]] std::string checked_parameters_text(
    const AnalysisState& state, const std::string& file_title);

}  // namespace qlor
