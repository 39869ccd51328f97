// The single-file run and the common ending of interactive runs.
#include "analysis/single_run.h"

#include <filesystem>
#include <fstream>

#include "analysis/open_dialogs.h"
#include "analysis/pattern_run.h"
#include "input/parameter_summary.h"
#include "model/analysis_state.h"
#include "platform/progress.h"
#include "results/file_names.h"
#include "simulation/cluster.h"
#include "simulation/inhibition.h"

namespace qlor {

namespace {

// A directional run writes four temporary files; tests on them are run one
// file at a time afterwards, never together with the run.
bool direction_with_test(const RunSettings& settings) {
  return settings.direction_index != Direction::kNone &&
         settings.significance_index != Significance::kNone;
}

Status confirm_parameters(AppContext& ctx, const AnalysisState& state) {
  const Answer answer = ctx.platform.message_box(confirm_parameters_text(state),
                                                 Buttons::kYesNo, Icon::kNone);
  return answer == Answer::kYes ? std::string() : std::string(kAborted);
}

// Steps 5 to 16 of a run, shared by the interactive and automatic forms.
Status analyse_input(AppContext& ctx, bool interactive) {
  AnalysisState state;
  if (auto s = read_sample_file(ctx, state); !s.ok()) return s;
  if (interactive) {
    if (auto s = confirm_parameters(ctx, state); !s.ok()) return s;
  }
  if (auto s = allocate_result_arrays(state, ctx.settings.direction_index);
      !s.ok()) {
    return s;
  }
  std::unique_ptr<ProgressDialog> dialog = create_one_bar(ctx.platform);
  const bool show =
      ctx.counters.pairs_total_file > ctx.settings.progress_threshold;
  if (show) {
    dialog->show();
  } else {
    dialog.reset();
  }
  auto after_pattern = [&](std::int32_t) {
    if (dialog) {
      update_one_bar(*dialog, ctx.counters.pairs_total_file,
                     ctx.counters.pairs_done_file);
    }
  };
  ctx.counters.pairs_done_before = 0;
  if (auto s = run_patterns(ctx, state, after_pattern); !s.ok()) return s;
  return write_results(ctx, state);
  // The dialog closes here, after the result and test files.
}

}  // namespace

const char* allocation_cause_line(AllocationCause cause) {
  switch (cause) {
    case AllocationCause::kSamplePoints:
      return "number of sample points in input file  ";
    case AllocationCause::kIntervals:
      return "number of intervals of 't' = item 4 (3,5) in first record  ";
    case AllocationCause::kSimulations:
      return "number of simulations = item 6 in first record  ";
    case AllocationCause::kSimulationsOrIntervals:
      return "number of simulations and/or number of intervals  ";
  }
  return "";
}

std::string allocation_failure_text(AllocationCause cause) {
  return std::string(
             "MEMORY ALLOCATION FAILED !  \n\nUnsuccessful allocation for "
             "array(s) determined by :  \n\n") +
         allocation_cause_line(cause);
}

void report_allocation_failure(AppContext& ctx, AllocationCause cause) {
  if (ctx.settings.autorun_pending == 1) return;
  ctx.platform.message_box(allocation_failure_text(cause), Buttons::kOk,
                           Icon::kStop);
  end_of_run(ctx, kAborted);
}

void end_of_run(AppContext& ctx, const Status& status) {
  if (ctx.settings.autorun_pending == 1) return;
  if (status.ok()) {
    ctx.platform.message_box(kComplete, Buttons::kOk, Icon::kNone);
    ctx.input_path.clear();
    ctx.status_text = {};
    ctx.last_run_complete = true;
    return;
  }
  if (const auto cause = status.allocation_cause()) {
    report_allocation_failure(ctx, *cause);
    return;
  }
  ctx.platform.message_box(status.text(), Buttons::kOk, Icon::kStop);
  if (status == kAborted) {
    ctx.input_path.clear();
    ctx.status_text = {};
    return;
  }
  ctx.platform.message_box(kAborted, Buttons::kOk, Icon::kStop);
  ctx.input_path.clear();
  ctx.tmp_file_name.clear();
  ctx.status_text = {};
}

bool run_single_file(AppContext& ctx) {
  ctx.last_run_complete = false;
  if (direction_with_test(ctx.settings)) {
    ctx.platform.message_box(kDirectionWithTest, Buttons::kOk, Icon::kStop);
    return false;
  }
  if (ctx.input_path.empty()) {
    file_open(ctx);
    // Cancelled, or the chosen file could not be opened (already reported).
    if (ctx.input_path.empty()) return false;
  }
  if (ctx.view.batch_selected == 1) {
    ctx.platform.message_box(kSelectBatch, Buttons::kOk, Icon::kStop);
    return false;
  }
  if (!can_open_for_reading(ctx.input_path)) {
    ctx.platform.message_box(kFileOpenError, Buttons::kOk, Icon::kStop);
    ctx.input_path.clear();
    return false;
  }
  ctx.status_text = analyse_input(ctx, true);
  end_of_run(ctx, ctx.status_text);
  return ctx.last_run_complete;
}

bool run_single_file_auto(AppContext& ctx) {
  if (direction_with_test(ctx.settings)) {
    ctx.status_text = kAutoDirectionWithTest;
  } else if (!can_open_for_reading(ctx.input_path)) {
    ctx.status_text = kFileNotFound;
  } else {
    ctx.status_text = analyse_input(ctx, false);
  }
  if (ctx.status_text.ok()) return true;
  ctx.err_file_name = change_extension(ctx.input_path, ".err");
  ctx.file_title = path_title(ctx.input_path);
  // A sample file named like its own error file is never overwritten.
  std::error_code ec;
  if (std::filesystem::equivalent(ctx.err_file_name, ctx.input_path, ec)) {
    ctx.input_path.clear();
    return false;
  }
  std::ofstream err(ctx.err_file_name, std::ios::binary | std::ios::trunc);
  err << ctx.file_title << "  -  " << ctx.status_text.text() << "\r\n";
  ctx.input_path.clear();
  return false;
}

}  // namespace qlor
