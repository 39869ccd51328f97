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

namespace qlor {

namespace {

// A directional run writes four temporary files; tests on them are run one
// file at a time afterwards, never together with the run.
bool direction_with_test(const RunSettings& settings) {
  return settings.direction_index != Direction::kNone &&
         settings.significance_index != Significance::kNone;
}

// The parameter summary's line for a null model that is not the header's;
// "" for the header's.
std::string model_line(const AppContext& ctx, const SummaryFunction& function) {
  const Intensity& intensity = function.choice().intensity;
  if (intensity.inhomogeneous()) {
    return "Heterogeneous Poisson (intensity " + describe_intensity(intensity) +
           ")";
  }
  switch (ctx.settings.null_model) {
    case NullKind::kLabels:
      return "Random labelling (positions fixed, labels shuffled)";
    case NullKind::kShift:
      return "Toroidal shift (species 1 fixed, species 2 moved on the torus)";
    case NullKind::kHeader:
      break;
  }
  return {};
}

Status confirm_parameters(AppContext& ctx, const AnalysisState& state,
                          const SummaryFunction& function,
                          const RunSeed& seed) {
  std::string run_lines;
  if (function.choice().kind != FunctionKind::kL ||
      function.choice().pairs != PairSet::kCross) {
    run_lines = "function: " + describe_function(function.choice()) + "\n";
  }
  run_lines += run_seed_text(seed);
  const std::string model = model_line(ctx, function);
  const Answer answer =
      ctx.platform.message_box(confirm_parameters_text(state, run_lines, model),
                               Buttons::kYesNo, Icon::kNone);
  return answer == Answer::kYes ? std::string() : std::string(kAborted);
}

// Steps 5 to 16 of a run, shared by the interactive and automatic forms.
Status analyse_input(AppContext& ctx, const std::string& input_path,
                     bool interactive, RunOutcome& outcome) {
  AnalysisState state;
  ProgressCounters counters;
  if (auto s = read_sample_file(ctx, input_path, state, counters); !s.ok()) {
    return s;
  }
  std::unique_ptr<SummaryFunction> function;
  if (auto s = make_run_function(ctx, input_path, state, function); !s.ok())
    return s;
  const RunFiles files =
      run_files(input_path, *function, ctx.settings.null_model);
  const RunSeed seed = start_run_seed(ctx, files);
  if (interactive) {
    if (auto s = confirm_parameters(ctx, state, *function, seed); !s.ok()) {
      return s;
    }
  }
  if (auto s = allocate_result_arrays(state, ctx.settings.direction_index);
      !s.ok()) {
    return s;
  }
  std::unique_ptr<ProgressDialog> dialog = create_one_bar(ctx.platform);
  const bool show = counters.pairs_total_file > ctx.settings.progress_threshold;
  if (show) {
    dialog->show();
  } else {
    dialog.reset();
  }
  auto after_pattern = [&](std::int32_t) {
    if (dialog) {
      update_one_bar(*dialog, counters.pairs_total_file,
                     counters.pairs_done_file);
    }
  };
  outcome.seeds.push_back({input_path, seed});
  if (auto s = run_patterns(ctx, state, *function, files, seed, counters,
                            after_pattern);
      !s.ok()) {
    return s;
  }
  return write_results(ctx, state, *function, files, outcome.tests);
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

void report_allocation_failure(AppContext& ctx, ViewState& view,
                               AllocationCause cause) {
  if (ctx.settings.autorun_pending == 1) return;
  ctx.platform.message_box(allocation_failure_text(cause), Buttons::kOk,
                           Icon::kStop);
  end_of_run(ctx, view, kAborted);
}

bool end_of_run(AppContext& ctx, ViewState& view, const Status& status) {
  if (ctx.settings.autorun_pending == 1) return status.ok();
  if (status.ok()) {
    ctx.platform.message_box(kComplete, Buttons::kOk, Icon::kNone);
    view.input_path.clear();
    return true;
  }
  if (const auto cause = status.allocation_cause()) {
    report_allocation_failure(ctx, view, *cause);
    return false;
  }
  ctx.platform.message_box(status.text(), Buttons::kOk, Icon::kStop);
  if (status == kAborted) {
    view.input_path.clear();
    return false;
  }
  ctx.platform.message_box(kAborted, Buttons::kOk, Icon::kStop);
  view.input_path.clear();
  view.tmp_file_name.clear();
  return false;
}

RunOutcome run_single_file(AppContext& ctx, ViewState& view) {
  RunOutcome outcome;
  if (direction_with_test(ctx.settings)) {
    ctx.platform.message_box(kDirectionWithTest, Buttons::kOk, Icon::kStop);
    return outcome;
  }
  if (view.input_path.empty()) {
    file_open(ctx, view);
    // Cancelled, or the chosen file could not be opened (already reported).
    if (view.input_path.empty()) return outcome;
  }
  if (view.batch_selected == 1) {
    ctx.platform.message_box(kSelectBatch, Buttons::kOk, Icon::kStop);
    return outcome;
  }
  if (!can_open_for_reading(view.input_path)) {
    ctx.platform.message_box(kFileOpenError, Buttons::kOk, Icon::kStop);
    view.input_path.clear();
    return outcome;
  }
  const Status status = analyse_input(ctx, view.input_path, true, outcome);
  outcome.complete = end_of_run(ctx, view, status);
  return outcome;
}

RunOutcome run_single_file_auto(AppContext& ctx, ViewState& view) {
  RunOutcome outcome;
  Status status;
  if (direction_with_test(ctx.settings)) {
    status = kAutoDirectionWithTest;
  } else if (!can_open_for_reading(view.input_path)) {
    status = kFileNotFound;
  } else {
    status = analyse_input(ctx, view.input_path, false, outcome);
  }
  outcome.complete = status.ok();
  if (status.ok()) return outcome;
  const std::string err_file_name = change_extension(view.input_path, ".err");
  // A sample file named like its own error file is never overwritten.
  std::error_code ec;
  if (!std::filesystem::equivalent(err_file_name, view.input_path, ec)) {
    std::ofstream err(err_file_name, std::ios::binary | std::ios::trunc);
    err << path_title(view.input_path) << "  -  " << status.text() << "\r\n";
  }
  view.input_path.clear();
  return outcome;
}

}  // namespace qlor
