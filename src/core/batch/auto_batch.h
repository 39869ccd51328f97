// Analysis > Batch File > Auto Analyse, and the batch form of the automatic
// run at start-up.
#pragma once

#include "analysis/app_context.h"

namespace qlor {

inline constexpr const char* kAutoBatchDirection =
    "Analysis of Direction not implemented in Batch file mode";

/// Analyses every entry of a batch file without questions and without a
/// box per file; failures go only to the batch's error file. With
/// `autorun_pending` 1 (the start-up run) nothing at all is shown. Returns
/// true when the analysis pass ran and its error file, if any, could be
/// written.
bool batch_auto_analyse(AppContext& ctx);

/// Checks every entry silently, only to total the batch's work in
/// `pairs_total_batch`; leaves `status_text` and `input_path` empty.
void batch_check_silent(AppContext& ctx);

}  // namespace qlor
