// Shared stages of single-file and batch runs.
#include "analysis/pattern_run.h"

#include <filesystem>
#include <fstream>

#include "input/header_reader.h"
#include "input/parameter_checks.h"
#include "analysis/pattern_executor.h"
#include "analysis/pattern_pipeline.h"
#include "results/file_names.h"
#include "results/result_file.h"
#include "results/significance_tests.h"
#include "results/tmp_file.h"
#include "shell/view_commands.h"
#include "simulation/simulate.h"
#include "simulation/simulation_grid.h"
#include "statistics/estimate.h"

namespace qlor {

namespace {

// The output file of a run that is the sample data file itself (a file
// named p.tmp, or a link), which the run would overwrite; "" when none is.
std::string output_naming_input(const std::string& input_path,
                                const std::vector<std::string>& tmp_files) {
  for (const std::string& tmp : tmp_files) {
    for (const char* extension : {".tmp", ".ktt", ".sup", ".cvm"}) {
      const std::string out = change_extension(tmp, extension);
      std::error_code ec;
      if (std::filesystem::equivalent(out, input_path, ec)) return out;
    }
  }
  return {};
}

}  // namespace

std::string read_sample_file(AppContext& ctx, AnalysisState& state,
                             RecordPass pass) {
  {
    std::ifstream in(ctx.input_path, std::ios::binary);
    if (!in) return kFileOpenError;
    if (auto s = read_header(state, in, ctx.settings.direction_index,
                             ctx.settings.significance_index);
        !s.empty()) {
      return s;
    }
  }
  // Second pass: the header values, then the records.
  std::ifstream in(ctx.input_path, std::ios::binary);
  if (!in) return kFileOpenError;
  if (auto s = check_parameters(state, in, ctx.counters.pairs_total_file);
      !s.empty()) {
    return s;
  }
  if (auto s = read_samples(state, in, pass); !s.empty()) return s;
  if (pass != RecordPass::kPrecheck) set_simulation_grid(state);
  return {};
}

std::string run_patterns(AppContext& ctx, AnalysisState& state,
                         const std::function<void(std::int32_t)>& after_pattern) {
  const std::int32_t direction = ctx.settings.direction_index;
  const TmpFileNames names =
      make_tmp_file_names(ctx.input_path, direction, ctx.settings.sector_suffix);
  ctx.tmp_file_name = names.tmp_file_name;
  ctx.sector_tmp_file_name = names.sector_tmp_file_name;

  TmpFileWriter writer;
  auto write_pattern = [&](std::int32_t s, const PatternValues& values) {
    count_pattern_done(state, s, ctx.counters);
    std::vector<const std::vector<double>*> blocks;
    for (const auto& v : values) blocks.push_back(&v);
    std::string status = writer.write_block(state, blocks);
    if (status.empty() && after_pattern) after_pattern(s);
    return status;
  };
  const SimulationEnv env{ctx.clock, ctx.settings.randomize_mode};
  const std::vector<std::string> tmp_files = tmp_paths(names, direction);
  if (auto out = output_naming_input(ctx.input_path, tmp_files); !out.empty()) {
    release_run_arrays(state);
    return kFileWriteError + out;
  }
  std::string status = writer.open(tmp_files);
  // The observed pattern is estimated alongside the first simulations,
  // except for the cluster process, which prepares the run (species order,
  // centres) in its first call: patterns 0 and 1 come first there, and
  // every later simulation starts from the state they leave.
  std::int32_t first = 0;
  if (status.empty() && state.process_type == 2) {
    LcgRandom rng;
    PairScratch scratch;
    estimate_pattern(state, direction, scratch);
    status = write_pattern(0, take_values(state, direction));
    first = 1;
    if (status.empty() && state.n_simulations >= 1) {
      status = simulate_pattern(state, 1, env, rng);
      if (status.empty()) {
        estimate_pattern(state, direction, scratch);
        status = write_pattern(1, take_values(state, direction));
      }
      first = 2;
    }
  }
  if (status.empty()) {
    PatternExecutor& executor =
        ctx.executor ? *ctx.executor : default_executor();
    status = executor.run(state, first, state.n_simulations, env, direction,
                          ctx.threads, write_pattern);
  }
  const std::string close_status = writer.close();
  release_run_arrays(state);
  return status.empty() ? close_status : status;
}

std::string write_results(AppContext& ctx, const AnalysisState& state) {
  const std::int32_t direction = ctx.settings.direction_index;
  TmpFileNames names{ctx.tmp_file_name, ctx.sector_tmp_file_name};
  const auto paths = tmp_paths(names, direction);
  std::string status = state.n_simulations < 100
                           ? write_envelopes_minmax(state, paths)
                           : write_envelopes_stdev(state, paths);
  if (!status.empty()) return status;
  return write_tests(ctx, state);
}

std::string write_tests(AppContext& ctx, const AnalysisState& state) {
  std::string status;
  // With both tests the second status replaces the first, except that a
  // supremum file that could not be written is never reported as success.
  const std::int32_t sig = ctx.settings.significance_index;
  TestOutcome outcome;
  if (sig == 1 || sig == 3) {
    status = supremum_test(state, ctx.tmp_file_name, &outcome);
    if (status.empty()) ctx.test_outcomes.push_back(outcome);
  }
  if (sig == 2 || sig == 3) {
    const bool write_failed = status.rfind(kFileWriteError, 0) == 0;
    std::string cvm_status = cvm_test(state, ctx.tmp_file_name, &outcome);
    if (cvm_status.empty()) ctx.test_outcomes.push_back(outcome);
    if (!cvm_status.empty() || !write_failed) status = std::move(cvm_status);
  }
  return status;
}

}  // namespace qlor
