// Analysis > Batch File > PreCheck, and the check pass it shares with
// Check & Analyse.
#pragma once

#include "analysis/app_context.h"
#include "model/progress_counters.h"

namespace qlor {

inline constexpr const char* kBatchCheckComplete = "  \n\nCHECK  COMPLETE";
inline constexpr const char* kBatchHasErrors =
    "  \n\nQLOR has detected errors in one or more files  \n\nThese files "
    "must be corrected before analysis  ";

/// Checks every entry of a batch file for input errors without analysing
/// any: a box per faulty entry, the parameter summary of each correct one
/// and a closing verdict. Writes no file. Returns true when no entry was
/// faulty.
bool batch_precheck(AppContext& ctx, ViewState& view);

/// The check pass over `batch_entries`: a box for each faulty entry, the
/// parameter summary for each correct one. Adds the work of the correct
/// ones to `counters.pairs_total_batch`. Returns the number of faulty
/// entries.
int check_pass(AppContext& ctx, const ViewState& view,
               ProgressCounters& counters);

/// Shows the batch refusal when a direction is set and empties
/// `input_path`. Returns true when it refused.
bool refuse_batch_direction(AppContext& ctx, ViewState& view);

}  // namespace qlor
