// The pre-check reports each entry when the next one begins, and the last
// one after the loop, so every box follows the entry it belongs to.
#include "batch/batch_precheck.h"

#include "batch/batch_file.h"
#include "input/parameter_summary.h"
#include "model/analysis_state.h"
#include "results/file_names.h"

namespace qlor {

namespace {

void report_check_failure(AppContext& ctx, int& error_count) {
  if (ctx.status_text.ok()) return;
  ++error_count;
  ctx.file_title = path_title(ctx.input_path);
  ctx.platform.message_box(entry_error_text(ctx.file_title, ctx.status_text),
                           Buttons::kOk, Icon::kStop);
  ctx.status_text = {};
}

}  // namespace

bool refuse_batch_direction(AppContext& ctx) {
  if (ctx.settings.direction_index == Direction::kNone) return false;
  ctx.platform.message_box(kBatchDirection, Buttons::kOk, Icon::kStop);
  ctx.input_path.clear();
  return true;
}

int check_pass(AppContext& ctx) {
  int error_count = 0;
  ctx.status_text = {};
  for (const std::string& entry : ctx.view.batch_entries) {
    report_check_failure(ctx, error_count);
    ctx.input_path = entry;
    AnalysisState state;
    ctx.status_text = check_batch_entry(ctx, state);
    if (ctx.status_text.ok()) {
      ctx.file_title = path_title(ctx.input_path);
      ctx.platform.message_box(checked_parameters_text(state, ctx.file_title),
                               Buttons::kOk, Icon::kNone);
    }
  }
  report_check_failure(ctx, error_count);
  return error_count;
}

bool batch_precheck(AppContext& ctx) {
  if (refuse_batch_direction(ctx)) return false;
  if (!obtain_batch_entries(ctx, false)) return false;
  const int error_count = check_pass(ctx);
  ctx.input_path.clear();
  ctx.status_text = {};
  ctx.view.batch_entries.clear();
  ctx.file_title = path_title(ctx.batch_file_name);
  const std::string heading = "BATCHFILE :\t" + ctx.file_title;
  if (error_count == 0) {
    ctx.platform.message_box(heading + kBatchCheckComplete, Buttons::kOk,
                             Icon::kNone);
    return true;
  }
  ctx.platform.message_box(heading + kBatchHasErrors, Buttons::kOk,
                           Icon::kStop);
  return false;
}

}  // namespace qlor
