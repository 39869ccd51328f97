// Analysis > Batch File > Auto Analyse, and the batch form of the automatic
// run at start-up.
#pragma once

#include "analysis/app_context.h"
#include "analysis/pattern_run.h"
#include "model/progress_counters.h"

namespace qlor {

inline constexpr const char* kAutoBatchDirection =
    "Analysis of Direction not implemented in Batch file mode";

/// Analyses every entry of a batch file without questions and without a
/// box per file; failures go only to the batch's error file. With
/// `autorun_pending` 1 (the start-up run) nothing at all is shown. Returns
/// `complete` when the analysis pass ran and its error file, if any, could
/// be written.
RunOutcome batch_auto_analyse(AppContext& ctx, ViewState& view);

/// Checks every entry silently, only to total the batch's work in
/// `counters.pairs_total_batch`.
void batch_check_silent(const AppContext& ctx, const ViewState& view,
                        ProgressCounters& counters);

}  // namespace qlor
