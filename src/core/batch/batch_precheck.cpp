// The pre-check reports each entry when the next one begins, and the last
// one after the loop, so every box follows the entry it belongs to.
#include "batch/batch_precheck.h"

#include "batch/batch_file.h"
#include "input/parameter_summary.h"
#include "model/analysis_state.h"
#include "results/file_names.h"

namespace qlor {

namespace {

void report_check_failure(AppContext& ctx, const std::string& entry,
                          const Status& failure, int& error_count) {
  if (failure.ok()) return;
  ++error_count;
  ctx.platform.message_box(entry_error_text(path_title(entry), failure),
                           Buttons::kOk, Icon::kStop);
}

}  // namespace

bool refuse_batch_direction(AppContext& ctx, ViewState& view) {
  if (ctx.settings.direction_index == Direction::kNone) return false;
  ctx.platform.message_box(kBatchDirection, Buttons::kOk, Icon::kStop);
  view.input_path.clear();
  return true;
}

int check_pass(AppContext& ctx, const ViewState& view,
               ProgressCounters& counters) {
  int error_count = 0;
  Status pending;
  std::string pending_entry;
  for (const std::string& entry : view.batch_entries) {
    report_check_failure(ctx, pending_entry, pending, error_count);
    pending_entry = entry;
    AnalysisState state;
    pending = check_batch_entry(ctx, entry, state, counters);
    if (pending.ok()) {
      ctx.platform.message_box(
          checked_parameters_text(state, path_title(entry)), Buttons::kOk,
          Icon::kNone);
    }
  }
  report_check_failure(ctx, pending_entry, pending, error_count);
  return error_count;
}

bool batch_precheck(AppContext& ctx, ViewState& view) {
  if (refuse_batch_direction(ctx, view)) return false;
  if (!obtain_batch_entries(ctx, view, false)) return false;
  ProgressCounters counters;
  const int error_count = check_pass(ctx, view, counters);
  view.input_path.clear();
  view.batch_entries.clear();
  const std::string heading =
      "BATCHFILE :\t" + path_title(view.batch_file_name);
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
