// Analysis > Batch File > Check & Analyse, and the analysis pass that the
// automatic batch analysis shares.
#pragma once

#include "analysis/app_context.h"

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
/// go to the batch's error file. Returns true when the analysis pass ran
/// and its error file, if any, could be written.
bool batch_check_and_analyse(AppContext& ctx);

/// Analyses every entry of `batch_entries` in turn; an entry that fails is
/// skipped and recorded in the error file named after `batch_file_name`.
/// Ends with `end_of_run` (the completion message, or the write error of an
/// error file that could not be written) and closes the dialog. Returns
/// false when the error file could not be written.
bool analysis_pass(AppContext& ctx, BatchMode mode);

/// Sets the batch work counters to 0 before a batch command.
void reset_batch_counters(AppContext& ctx);

}  // namespace qlor
