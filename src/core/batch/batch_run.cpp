// The analysis pass records a failed entry when the next entry begins, and
// the last entry's failure after the loop with the short separator.
#include "batch/batch_run.h"

#include <memory>

#include "analysis/open_dialogs.h"
#include "analysis/pattern_run.h"
#include "analysis/single_run.h"
#include "batch/batch_file.h"
#include "batch/batch_guard.h"
#include "batch/batch_precheck.h"
#include "input/parameter_summary.h"
#include "model/analysis_state.h"
#include "platform/progress.h"
#include "results/file_names.h"
#include "results/tmp_file.h"

namespace qlor {

namespace {

void record_failure(AppContext& ctx, ErrorFile& errors, const char* separator) {
  if (errors.line_count() == 0) ctx.err_file_name = errors.path();
  errors.write_line(path_title(ctx.input_path), separator,
                    ctx.status_text.text());
  ctx.status_text = {};
}

// One entry after it was opened: read, check, simulate, estimate and write
// its files. A failure before the patterns is left in `status_text` for the
// next entry to record; a failed simulation is recorded at once.
void analyse_entry(AppContext& ctx, ErrorFile& errors, BatchMode mode,
                   ProgressDialog* dialog) {
  // A fresh state per entry: its simulation grid comes from its own
  // coordinates only.
  AnalysisState state;
  ctx.status_text = read_sample_file(ctx, state, RecordPass::kBatch);
  if (!ctx.status_text.ok()) return;
  ctx.status_text = allocate_result_arrays(state, ctx.settings.direction_index);
  if (!ctx.status_text.ok()) return;
  ProgressCounters& c = ctx.counters;
  auto after_pattern = [&](std::int32_t) {
    if (dialog) {
      update_two_bar(*dialog, c.pairs_total_batch, c.pairs_done_all,
                     c.pairs_total_file, c.pairs_done_file, ctx.file_title);
    }
  };
  ctx.status_text = run_patterns(ctx, state, after_pattern);
  if (!ctx.status_text.ok()) {
    // The file counts as done for the progress bars.
    c.pairs_done_file = c.pairs_total_file;
    c.pairs_done_before += c.pairs_done_file;
    ctx.file_title = path_title(ctx.input_path);
    if (mode == BatchMode::kInteractive) {
      ctx.platform.message_box(
          entry_error_text(ctx.file_title, ctx.status_text), Buttons::kOk,
          Icon::kStop);
    }
    record_failure(ctx, errors, kErrSeparator);
    return;
  }
  ctx.status_text = write_results(ctx, state);
  c.pairs_done_before += c.pairs_done_file;
}

}  // namespace

void reset_batch_counters(AppContext& ctx) {
  ctx.counters.pairs_total_batch = 0;
  ctx.counters.pairs_done_all = 0;
  ctx.counters.pairs_done_before = 0;
}

bool analysis_pass(AppContext& ctx, BatchMode mode) {
  std::unique_ptr<ProgressDialog> dialog = create_two_bar(ctx.platform);
  if (ctx.counters.pairs_total_batch > ctx.settings.progress_threshold) {
    dialog->show();
  } else {
    dialog.reset();
  }
  ctx.status_text = {};
  ErrorFile errors(change_extension(ctx.batch_file_name, ".err"));
  for (const std::string& entry : ctx.view.batch_entries) {
    if (!ctx.status_text.ok()) record_failure(ctx, errors, kErrSeparator);
    ctx.input_path = entry;
    ctx.file_title = path_title(ctx.input_path);
    if (!can_open_for_reading(ctx.input_path)) {
      ctx.status_text = mode == BatchMode::kInteractive
                            ? kEntryNotFoundInteractive
                            : kEntryNotFound;
      continue;
    }
    analyse_entry(ctx, errors, mode, dialog.get());
  }
  if (!ctx.status_text.ok()) record_failure(ctx, errors, kErrSeparatorLast);
  errors.close();
  // Failures that could not be recorded must not end as a complete run.
  end_of_run(ctx,
             errors.failed() ? kFileWriteError + errors.path() : std::string());
  dialog.reset();
  return !errors.failed();
}

bool batch_check_and_analyse(AppContext& ctx) {
  if (refuse_batch_direction(ctx)) return false;
  reset_batch_counters(ctx);
  if (!obtain_batch_entries(ctx, false)) return false;
  if (auto out = output_naming_batch_file(ctx); !out.empty()) {
    refuse_batch_output(ctx, out);
    return false;
  }
  const auto n_entries = static_cast<int>(ctx.view.batch_entries.size());
  const int error_count = check_pass(ctx);
  bool go_on = true;
  bool start = true;
  if (error_count > 0 && error_count < n_entries &&
      ctx.platform.message_box(kBatchSkipQuestion, Buttons::kYesNo,
                               Icon::kStop) == Answer::kNo) {
    go_on = false;
    end_of_run(ctx, kAborted);
  }
  if (error_count == n_entries) {
    go_on = false;
    end_of_run(ctx, kAborted);
  }
  // An empty batch has both "every entry failed" and "no entry failed".
  if (error_count == 0 &&
      ctx.platform.message_box(kBatchStartQuestion, Buttons::kYesNo,
                               Icon::kNone) == Answer::kNo) {
    start = false;
    go_on = false;
    end_of_run(ctx, kAborted);
  }
  const bool run = (error_count == 0 && start) || go_on;
  const bool written = run && analysis_pass(ctx, BatchMode::kInteractive);
  ctx.input_path.clear();
  ctx.view.batch_entries.clear();
  return written;
}

}  // namespace qlor
