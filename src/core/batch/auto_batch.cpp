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
void write_direction_refusal(AppContext& ctx) {
  ctx.err_file_name = change_extension(ctx.input_path, ".err");
  std::error_code ec;
  if (std::filesystem::equivalent(ctx.err_file_name, ctx.input_path, ec)) {
    return;
  }
  ErrorFile errors(ctx.err_file_name);
  errors.write_line(path_title(ctx.input_path), kErrSeparator,
                    kAutoBatchDirection);
}

}  // namespace

void batch_check_silent(AppContext& ctx) {
  for (const std::string& entry : ctx.view.batch_entries) {
    ctx.input_path = entry;
    AnalysisState state;
    (void)check_batch_entry(ctx, state);
  }
  ctx.status_text = {};
  ctx.input_path.clear();
}

bool batch_auto_analyse(AppContext& ctx) {
  const bool automatic = ctx.settings.autorun_pending == 1;
  if (ctx.settings.direction_index != Direction::kNone) {
    if (automatic) {
      write_direction_refusal(ctx);
    } else {
      refuse_batch_direction(ctx);
    }
    return false;
  }
  reset_batch_counters(ctx);
  if (!obtain_batch_entries(ctx, automatic)) return false;
  if (auto out = output_naming_batch_file(ctx); !out.empty()) {
    refuse_batch_output(ctx, out);
    return false;
  }
  batch_check_silent(ctx);
  const bool written = analysis_pass(ctx, BatchMode::kAutomatic);
  ctx.input_path.clear();
  ctx.view.batch_entries.clear();
  ctx.status_text = {};
  return written;
}

}  // namespace qlor
