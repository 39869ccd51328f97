// The significance-only run reads no sample records: the tests need only
// the number of simulations, the distances and t_max of the header.
#include "batch/significance_only.h"

#include <fstream>
#include <vector>

#include "analysis/open_dialogs.h"
#include "analysis/pattern_run.h"
#include "analysis/single_run.h"
#include "input/sample_header.h"
#include "results/file_names.h"
#include "results/tmp_file.h"

namespace qlor {

namespace {

// Sets `input_path` to the first candidate that can be opened.
bool find_sample_file(AppContext& ctx) {
  for (const std::string& candidate :
       corresponding_dat_candidates(ctx.tmp_file_name)) {
    if (can_open_for_reading(candidate)) {
      ctx.input_path = candidate;
      return true;
    }
  }
  return false;
}

}  // namespace

std::array<std::string, 2> corresponding_dat_candidates(
    const std::string& tmp_file_name) {
  const std::size_t keep =
      tmp_file_name.size() > 7 ? tmp_file_name.size() - 7 : 0;
  return {change_extension(tmp_file_name, ".dat"),
          tmp_file_name.substr(0, keep) + ".dat"};
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

bool significance_only(AppContext& ctx) {
  ctx.last_run_complete = false;
  if (ctx.settings.significance_index == Significance::kNone) {
    ctx.platform.message_box(kNoTestSelected, Buttons::kOk, Icon::kStop);
    return false;
  }
  open_temp_file(ctx);
  if (ctx.view.open_cancelled == 1) {
    ctx.platform.message_box(kNoFileSelected, Buttons::kOk, Icon::kStop);
    return false;
  }
  // An empty name: the dialog could not open the file and has said so.
  if (ctx.tmp_file_name.empty()) return false;
  if (!can_open_for_reading(ctx.tmp_file_name)) {
    ctx.platform.message_box(kFileOpenError, Buttons::kOk, Icon::kStop);
    ctx.tmp_file_name.clear();
    return false;
  }
  if (!find_sample_file(ctx)) {
    ctx.platform.message_box(kDatNotFound, Buttons::kOk, Icon::kStop);
    ctx.input_path.clear();
    ctx.tmp_file_name.clear();
    return false;
  }
  AnalysisState state;
  // No direction is consulted: the tests work on one temporary file.
  ctx.status_text = read_header_values(ctx.input_path, state, Direction::kNone,
                                       ctx.settings.significance_index,
                                       ctx.counters.pairs_total_file);
  if (ctx.status_text.ok()) {
    ctx.status_text = check_tmp_file(state, ctx.tmp_file_name);
  }
  if (ctx.status_text.ok()) ctx.status_text = write_tests(ctx, state);
  end_of_run(ctx, ctx.status_text);
  return ctx.last_run_complete;
}

}  // namespace qlor
