// Analysis > Significance only: the tests of significance on the temporary
// file of an earlier run.
#pragma once

#include <string>
#include <vector>

#include "analysis/app_context.h"
#include "analysis/pattern_run.h"
#include "model/analysis_state.h"

namespace qlor {

inline constexpr const char* kNoTestSelected =
    "No Test of Significance selected !  ";
inline constexpr const char* kNoFileSelected = "No file selected !  ";
inline constexpr const char* kDatNotFound =
    "QLOR - Corresponding DAT-File not found !";

/// The sample data files that may belong to a temporary file, in the order
/// tried: for a function's file (plot1_g.tmp) the name without the
/// function's suffix, then the name with ".dat" for its extension, then the
/// name without its last seven characters (a sector suffix and ".tmp") and
/// ".dat".
[[nodiscard]] std::vector<std::string> corresponding_dat_candidates(
    const std::string& tmp_file_name);

/// Checks that the temporary file holds exactly `n_simulations` + 1 blocks
/// of `last_interval` + 1 pairs of numbers, followed by nothing but white
/// space (a last line without its line end is complete). Returns "",
/// "MAF:2" or the incomplete-file text (also for a file with more values:
/// it was made with other parameters).
[[nodiscard]] Status check_tmp_file(const AnalysisState& state,
                                    const std::string& tmp_file_name);

/// Asks for a temporary file, finds its sample data file, reads the header
/// values from it and runs the selected tests. `complete` when the run
/// ended with the completion message.
RunOutcome significance_only(AppContext& ctx, ViewState& view);

}  // namespace qlor
