// Analysis > Batch File > Check & Analyse, and the analysis pass that the
// automatic batch analysis shares.
#pragma once

#include "analysis/app_context.h"
#include "analysis/pattern_run.h"
#include "model/progress_counters.h"

namespace qlor {

inline constexpr const char* kBatchSkipQuestion =
    "QLOR has detected errors in one or more files  \n\nThese files will be "
    "skipped during processing  \n\nContinue ?";
inline constexpr const char* kBatchStartQuestion =
    "QLOR has checked all files  \n\nStart analysis ?";

/// How the analysis pass reports: the interactive command shows a box for
/// a simulation failure and names a missing entry " - File not found!";
/// the automatic analysis shows nothing and writes "File not found".
enum class BatchMode { kInteractive, kAutomatic };

/// Checks every entry as PreCheck does, asks whether to go on and analyses
/// each correct entry as a single-file run would, without the summary
/// question, under the two-bar progress dialog. Failures of the analysis
/// go to the batch's error file. `complete` when the analysis pass ran and
/// its error file, if any, could be written.
RunOutcome batch_check_and_analyse(AppContext& ctx, ViewState& view);

/// Analyses every entry of `batch_entries` in turn; an entry that fails is
/// skipped and recorded in the error file named after `batch_file_name`.
/// `counters` holds the batch's total work from the check pass. Ends with
/// `end_of_run` (the completion message, or the write error of an error
/// file that could not be written) and closes the dialog. Not `complete`
/// when the error file could not be written.
RunOutcome analysis_pass(AppContext& ctx, ViewState& view, BatchMode mode,
                         ProgressCounters& counters);

}  // namespace qlor
