// The significance-only run reads no sample records: the tests need only
// the number of simulations, the distances and t_max of the header.
#include "batch/significance_only.h"

#include <vector>

#include "analysis/open_dialogs.h"
#include "analysis/pattern_run.h"
#include "analysis/run_name.h"
#include "analysis/single_run.h"
#include "results/file_names.h"
#include "results/tmp_file.h"

namespace qlor {

namespace {

// Sets `input_path` to the first candidate that can be opened.
bool find_sample_file(ViewState& view) {
  for (const std::string& candidate :
       corresponding_dat_candidates(view.tmp_file_name)) {
    if (can_open_for_reading(candidate)) {
      view.input_path = candidate;
      return true;
    }
  }
  return false;
}

}  // namespace

std::vector<std::string> corresponding_dat_candidates(
    const std::string& tmp_file_name) {
  std::vector<std::string> candidates;
  if (const RunName run = parse_run_name(tmp_file_name);
      !run.sample_path.empty()) {
    candidates.push_back(run.sample_path);
  }
  const std::size_t keep =
      tmp_file_name.size() > 7 ? tmp_file_name.size() - 7 : 0;
  candidates.push_back(change_extension(tmp_file_name, ".dat"));
  candidates.push_back(tmp_file_name.substr(0, keep) + ".dat");
  return candidates;
}

Status check_tmp_file(const AnalysisState& state,
                      const std::string& tmp_file_name) {
  std::vector<double> block;
  if (auto s =
          allocate(block, static_cast<std::size_t>(state.last_interval) + 1,
                   AllocationCause::kIntervals);
      !s.ok()) {
    return s;
  }
  TmpFileReader reader;
  if (!reader.open(tmp_file_name)) return kTmpIncomplete;
  for (std::int32_t s = 0; s <= state.n_simulations; ++s) {
    if (!reader.read_block(block)) return kTmpIncomplete;
  }
  // White space after the last value, or none at all (a file whose last
  // line end was lost), leaves the values complete.
  if (!reader.at_end()) return kTmpIncomplete;
  return {};
}

RunOutcome significance_only(AppContext& ctx, ViewState& view) {
  RunOutcome outcome;
  if (ctx.settings.significance_index == Significance::kNone) {
    ctx.platform.message_box(kNoTestSelected, Buttons::kOk, Icon::kStop);
    return outcome;
  }
  open_temp_file(ctx, view);
  if (view.open_cancelled == 1) {
    ctx.platform.message_box(kNoFileSelected, Buttons::kOk, Icon::kStop);
    return outcome;
  }
  // An empty name: the dialog could not open the file and has said so.
  if (view.tmp_file_name.empty()) return outcome;
  if (!can_open_for_reading(view.tmp_file_name)) {
    ctx.platform.message_box(kFileOpenError, Buttons::kOk, Icon::kStop);
    view.tmp_file_name.clear();
    return outcome;
  }
  if (!find_sample_file(view)) {
    ctx.platform.message_box(kDatNotFound, Buttons::kOk, Icon::kStop);
    view.input_path.clear();
    view.tmp_file_name.clear();
    return outcome;
  }
  // The function of the earlier run shows in the temporary file's name.
  const RunName run = parse_run_name(view.tmp_file_name);
  const FunctionKind function = run.function;
  AnalysisState state;
  Status status = read_run_sample(view.input_path, function,
                                  ctx.settings.significance_index, state);
  if (status.ok()) status = check_tmp_file(state, view.tmp_file_name);
  if (status.ok()) {
    status = write_tests(ctx, state, function, run.null_kind,
                         csr_value_of(function, state, run.pairs),
                         view.tmp_file_name, outcome.tests);
  }
  outcome.complete = end_of_run(ctx, view, status);
  return outcome;
}

}  // namespace qlor
