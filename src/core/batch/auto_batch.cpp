// The automatic batch analysis attempts every entry, also those the silent
// check found faulty: their failures reach the error file in the pass.
#include "batch/auto_batch.h"

#include <filesystem>

#include "batch/batch_file.h"
#include "batch/batch_guard.h"
#include "batch/batch_precheck.h"
#include "batch/batch_run.h"
#include "model/analysis_state.h"
#include "results/file_names.h"

namespace qlor {

namespace {

// The start-up run cannot show the refusal: it leaves one line beside the
// batch file instead, unless that line would replace the batch file.
void write_direction_refusal(const ViewState& view) {
  const std::string err_file_name = change_extension(view.input_path, ".err");
  std::error_code ec;
  if (std::filesystem::equivalent(err_file_name, view.input_path, ec)) {
    return;
  }
  ErrorFile errors(err_file_name);
  errors.write_line(path_title(view.input_path), kErrSeparator,
                    kAutoBatchDirection);
}

}  // namespace

void batch_check_silent(const AppContext& ctx, const ViewState& view,
                        ProgressCounters& counters) {
  for (const std::string& entry : view.batch_entries) {
    AnalysisState state;
    (void)check_batch_entry(ctx, entry, state, counters);
  }
}

RunOutcome batch_auto_analyse(AppContext& ctx, ViewState& view) {
  const bool automatic = ctx.settings.autorun_pending == 1;
  if (ctx.settings.direction_index != Direction::kNone) {
    if (automatic) {
      write_direction_refusal(view);
    } else {
      refuse_batch_direction(ctx, view);
    }
    return {};
  }
  if (!obtain_batch_entries(ctx, view, automatic)) return {};
  if (auto out = output_naming_batch_file(ctx, view); !out.empty()) {
    refuse_batch_output(ctx, view, out);
    return {};
  }
  ProgressCounters counters;
  batch_check_silent(ctx, view, counters);
  RunOutcome outcome =
      analysis_pass(ctx, view, BatchMode::kAutomatic, counters);
  view.input_path.clear();
  view.batch_entries.clear();
  return outcome;
}

}  // namespace qlor
