// The analysis pass records a failed entry when the next entry begins, and
// the last entry's failure after the loop with the short separator: the
// failure travels from one iteration to the next as a value.
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

// Records the failure of the entry `input_path` in the error file.
void record_failure(ErrorFile& errors, const std::string& input_path,
                    const char* separator, const Status& failure) {
  errors.write_line(path_title(input_path), separator, failure.text());
}

// One entry after it was opened: read, check, simulate, estimate and write
// its files. Returns a failure before the patterns, which the pass records
// when the next entry begins; a failed simulation is recorded at once (and
// ok returned).
Status analyse_entry(AppContext& ctx, const std::string& input_path,
                     ErrorFile& errors, BatchMode mode, ProgressCounters& c,
                     ProgressDialog* dialog, RunOutcome& outcome) {
  // A fresh state per entry: its simulation grid comes from its own
  // coordinates only.
  AnalysisState state;
  if (auto s = read_sample_file(ctx, input_path, state, c, RecordPass::kBatch);
      !s.ok()) {
    return s;
  }
  std::unique_ptr<SummaryFunction> function;
  if (auto s = make_run_function(ctx, input_path, state, function); !s.ok())
    return s;
  if (auto s = allocate_result_arrays(state, ctx.settings.direction_index);
      !s.ok()) {
    return s;
  }
  const std::string file_title = path_title(input_path);
  auto after_pattern = [&](std::int32_t) {
    if (dialog) {
      update_two_bar(*dialog, c.pairs_total_batch, c.pairs_done_all,
                     c.pairs_total_file, c.pairs_done_file, file_title);
    }
  };
  const RunFiles files =
      run_files(input_path, *function, ctx.settings.null_model);
  const RunSeed seed = start_run_seed(ctx, files);
  outcome.seeds.push_back({input_path, seed});
  if (auto s =
          run_patterns(ctx, state, *function, files, seed, c, after_pattern);
      !s.ok()) {
    // A stop signal ends the batch, not just the entry.
    if (s.starts_with(kInterruptedPrefix)) return s;
    // The file counts as done for the progress bars.
    c.pairs_done_file = c.pairs_total_file;
    c.pairs_done_before += c.pairs_done_file;
    if (mode == BatchMode::kInteractive) {
      ctx.platform.message_box(entry_error_text(file_title, s), Buttons::kOk,
                               Icon::kStop);
    }
    record_failure(errors, input_path, kErrSeparator, s);
    return {};
  }
  Status status = write_results(ctx, state, *function, files, outcome.tests);
  c.pairs_done_before += c.pairs_done_file;
  return status;
}

}  // namespace

RunOutcome analysis_pass(AppContext& ctx, ViewState& view, BatchMode mode,
                         ProgressCounters& counters) {
  RunOutcome outcome;
  std::unique_ptr<ProgressDialog> dialog = create_two_bar(ctx.platform);
  if (counters.pairs_total_batch > ctx.settings.progress_threshold) {
    dialog->show();
  } else {
    dialog.reset();
  }
  ErrorFile errors(change_extension(view.batch_file_name, ".err"));
  // An entry's failure is recorded when the next entry begins, the last
  // one's after the loop with the short separator.
  Status pending;
  std::string pending_path;
  for (const std::string& entry : view.batch_entries) {
    if (!pending.ok())
      record_failure(errors, pending_path, kErrSeparator, pending);
    pending_path = entry;
    if (!can_open_for_reading(entry)) {
      pending = mode == BatchMode::kInteractive ? kEntryNotFoundInteractive
                                                : kEntryNotFound;
      continue;
    }
    pending = analyse_entry(ctx, entry, errors, mode, counters, dialog.get(),
                            outcome);
    if (pending.starts_with(kInterruptedPrefix)) break;
  }
  if (pending.starts_with(kInterruptedPrefix)) {
    errors.close();
    dialog.reset();
    end_of_run(ctx, view, path_title(pending_path) + ": " + pending.text());
    return outcome;
  }
  if (!pending.ok()) {
    record_failure(errors, pending_path, kErrSeparatorLast, pending);
  }
  errors.close();
  // Failures that could not be recorded must not end as a complete run.
  end_of_run(ctx, view,
             errors.failed() ? kFileWriteError + errors.path() : std::string());
  dialog.reset();
  outcome.complete = !errors.failed();
  return outcome;
}

RunOutcome batch_check_and_analyse(AppContext& ctx, ViewState& view) {
  if (refuse_batch_direction(ctx, view)) return {};
  ProgressCounters counters;
  if (!obtain_batch_entries(ctx, view, false)) return {};
  if (auto out = output_naming_batch_file(ctx, view); !out.empty()) {
    refuse_batch_output(ctx, view, out);
    return {};
  }
  const auto n_entries = static_cast<int>(view.batch_entries.size());
  const int error_count = check_pass(ctx, view, counters);
  bool go_on = true;
  bool start = true;
  if (error_count > 0 && error_count < n_entries &&
      ctx.platform.message_box(kBatchSkipQuestion, Buttons::kYesNo,
                               Icon::kStop) == Answer::kNo) {
    go_on = false;
    end_of_run(ctx, view, kAborted);
  }
  if (error_count == n_entries) {
    go_on = false;
    end_of_run(ctx, view, kAborted);
  }
  // An empty batch has both "every entry failed" and "no entry failed".
  if (error_count == 0 &&
      ctx.platform.message_box(kBatchStartQuestion, Buttons::kYesNo,
                               Icon::kNone) == Answer::kNo) {
    start = false;
    go_on = false;
    end_of_run(ctx, view, kAborted);
  }
  const bool run = (error_count == 0 && start) || go_on;
  RunOutcome outcome;
  if (run)
    outcome = analysis_pass(ctx, view, BatchMode::kInteractive, counters);
  view.input_path.clear();
  view.batch_entries.clear();
  return outcome;
}

}  // namespace qlor
