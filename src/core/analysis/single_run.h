// The single-file run: one sample data file from the first read to the last
// result file, interactive (message boxes) or automatic (an error file).
#pragma once

#include <string>

#include "analysis/app_context.h"
#include "analysis/pattern_run.h"

namespace qlor {

inline constexpr const char* kComplete =
    "C A L C U L A T I O N    C O M P L E T E  ";
inline constexpr const char* kDirectionWithTest =
    "Analysis considering Cardinal Direction in combination\nwith a Test of "
    "Significance would result in a number of \nobsolete files and is not "
    "implemented !\n\nSet Significance to  'No test'  and perform\nthe "
    "required test on a selected file later";
inline constexpr const char* kSelectBatch =
    "Select \"Batch file\" for batch files !  ";
inline constexpr const char* kAutoDirectionWithTest =
    "Analysis of Direction in combination with Test of Significance not "
    "implemented";
inline constexpr const char* kFileNotFound = "File not found";

/// Analysis > Single File: asks for a file when none is chosen, shows the
/// parameter summary and reports the outcome in message boxes.
RunOutcome run_single_file(AppContext& ctx, ViewState& view);

/// The automatic run at start-up: asks and shows nothing; a failure is
/// written to the ".err" file beside the sample file.
RunOutcome run_single_file_auto(AppContext& ctx, ViewState& view);

/// The common ending of interactive runs: the completion message, or the
/// failure followed by the abort message, then the input path (and after a
/// failure the temporary path) is emptied. The start-up run shows nothing
/// and keeps the paths. Returns true when the run is complete.
bool end_of_run(AppContext& ctx, ViewState& view, const Status& status);

/// Shows the memory-failure report for the cause digit of a "MAF:n" tag.
void report_allocation_failure(AppContext& ctx, ViewState& view,
                               AllocationCause cause);

/// The cause line of the memory-failure report for a cause digit 1 to 4
/// ("" for any other).
[[nodiscard]] const char* allocation_cause_line(AllocationCause cause);

/// The text of the memory-failure report for a cause digit.
[[nodiscard]] std::string allocation_failure_text(AllocationCause cause);

}  // namespace qlor
