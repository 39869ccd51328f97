// Shared stages of single-file and batch runs.
#include "analysis/pattern_run.h"

#include <filesystem>
#include <fstream>

#include "analysis/pattern_executor.h"
#include "analysis/pattern_pipeline.h"
#include "analysis/pattern_saver.h"
#include "analysis/run_resume.h"
#include "input/intensity_grid.h"
#include "input/plot_origin.h"
#include "input/sample_header.h"
#include "platform/stop_signal.h"
#include "results/file_names.h"
#include "results/result_file.h"
#include "results/significance_tests.h"
#include "results/tmp_file.h"
#include "results/whole_file.h"
#include "simulation/cluster_tables.h"
#include "simulation/null_model.h"
#include "simulation/simulation_grid.h"
#include "statistics/inhomogeneous.h"
#include "statistics/kl_estimator.h"

namespace qlor {

namespace {

// The output file of a run that is the sample data file itself (a file
// named p.tmp, or a link), which the run would overwrite; "" when none is.
std::string output_naming_input(const std::string& input_path,
                                const std::vector<std::string>& tmp_files) {
  for (const std::string& tmp : tmp_files) {
    for (const std::string& extension :
         {std::string(".tmp"), std::string(".ktt"),
          test_file_ending(".sup", TestCentre::kCsr),
          test_file_ending(".cvm", TestCentre::kCsr),
          test_file_ending(".sup", TestCentre::kMean),
          test_file_ending(".cvm", TestCentre::kMean)}) {
      const std::string out = change_extension(tmp, extension);
      std::error_code ec;
      if (std::filesystem::equivalent(out, input_path, ec)) return out;
    }
  }
  return {};
}

}  // namespace

RunFiles run_files(const std::string& input_path,
                   const SummaryFunction& function, NullKind null_kind) {
  RunFiles files{input_path, {}, {}};
  for (const std::string& suffix : function.suffixes()) {
    files.tmp_paths.push_back(
        change_extension(input_path, suffix + null_suffix(null_kind) + ".tmp"));
  }
  const FunctionChoice choice = function.choice();
  files.record_path = change_extension(
      input_path, function_suffix(choice.kind, choice.pairs) +
                      null_suffix(null_kind) + kRunRecordExtension);
  return files;
}

Status read_run_sample(const std::string& path, FunctionKind function,
                       Significance significance_index, AnalysisState& state) {
  double pairs_total = 0;
  std::ifstream records;
  if (auto s = read_header_values(path, state, Direction::kNone,
                                  significance_index, pairs_total, records);
      !s.ok()) {
    return s;
  }
  if (function != FunctionKind::kO) return {};
  return read_samples(state, records);
}

Status check_run_settings(const RunSettings& settings) {
  if (settings.intensity.source != IntensitySource::kNone) {
    if (settings.null_model != NullKind::kHeader) return kNullWithIntensity;
    if (settings.function == FunctionKind::kO) return kIntensityWithORing;
    if (settings.direction_index != Direction::kNone) {
      return kIntensityWithDirection;
    }
    if (settings.function == FunctionKind::kG &&
        settings.estimator == PcfEstimator::kRing) {
      return kIntensityWithRings;
    }
  }
  if (settings.pairs != PairSet::kCross) {
    if (settings.direction_index != Direction::kNone) {
      return kPairsWithDirection;
    }
    if (species_one_fixed(settings)) return kPairsOfAFixedSpecies;
  }
  return {};
}

Status resolve_intensity(const RunSettings& settings,
                         const AnalysisState& state, Intensity& intensity) {
  const IntensitySetting& setting = settings.intensity;
  intensity = {};
  if (setting.source == IntensitySource::kNone) return {};
  intensity.source = setting.source;
  if (setting.source == IntensitySource::kKernel) {
    intensity.sigma = setting.sigma > 0
                          ? setting.sigma
                          : default_sigma(state.x_axis, state.y_axis);
    return {};
  }
  intensity.path = setting.path;
  auto grid = std::make_shared<IntensityGrid>();
  if (auto s = read_intensity_grid(
          setting.path, state.analysis_type == AnalysisType::kBivariate,
          state.x_axis, state.y_axis, *grid);
      !s.ok()) {
    return s;
  }
  intensity.grid = std::move(grid);
  return {};
}

bool species_one_fixed(const RunSettings& settings) {
  if (settings.pairs != PairSet::k11) return false;
  if (settings.intensity.source != IntensitySource::kNone ||
      settings.null_model == NullKind::kHeader) {
    return settings.randomize_mode == RandomizeMode::kSpecies2;
  }
  return settings.null_model == NullKind::kShift;
}

Status make_run_function(const AppContext& ctx, const std::string& input_path,
                         const AnalysisState& state,
                         std::unique_ptr<SummaryFunction>& function) {
  if (ctx.settings.function != FunctionKind::kL &&
      ctx.settings.direction_index != Direction::kNone) {
    return kFunctionWithDirection;
  }
  if (auto s = check_run_settings(ctx.settings); !s.ok()) return s;
  Intensity intensity;
  if (auto s = resolve_intensity(ctx.settings, state, intensity); !s.ok()) {
    return s;
  }
  if (state.analysis_type != AnalysisType::kBivariate) {
    if (ctx.settings.pairs != PairSet::kCross) return kPairsNeedTwoSpecies;
    if (ctx.settings.null_model != NullKind::kHeader) {
      return kNullNeedsTwoSpecies;
    }
  }
  function = make_summary_function(ctx.settings, state, intensity);
  if (auto s = function->check(state); !s.ok()) return s;
  if (!intensity.inhomogeneous()) return {};
  // An intensity that the observed points cannot divide by.
  std::vector<double> lambda;
  if (auto s = intensity_at_points(state, intensity, lambda); !s.ok()) {
    return input_path + ": " + s.text();
  }
  return {};
}

SimulationEnv simulation_env(const AppContext& ctx, const RunSeed& seed,
                             const SummaryFunction& function) {
  return {seed, ctx.settings.randomize_mode, function.choice().intensity,
          ctx.settings.null_model};
}

Status read_sample_file(const AppContext& ctx, const std::string& input_path,
                        AnalysisState& state, ProgressCounters& counters,
                        RecordPass pass) {
  std::ifstream in;
  if (auto s = read_header_values(
          input_path, state, ctx.settings.direction_index,
          ctx.settings.significance_index, counters.pairs_total_file, in);
      !s.ok()) {
    return s;
  }
  if (auto s = read_samples(state, in, pass); !s.ok()) return s;
  if (pass == RecordPass::kPrecheck) return {};
  if (state.process_type == ProcessType::kCluster) {
    if (auto s = make_cluster_tables(state, state); !s.ok()) return s;
  }
  set_simulation_grid(state);
  return {};
}

RunSeed start_run_seed(const AppContext& ctx) {
  return run_seed_now(ctx.settings.generator, ctx.clock);
}

RunSeed start_run_seed(const AppContext& ctx, const RunFiles& files) {
  RunSeed seed = start_run_seed(ctx);
  if (ctx.settings.resume && !ctx.settings.seed_fixed) {
    (void)recorded_seed(files, seed);
  }
  return seed;
}

std::string interrupted_text(std::int32_t done, std::int32_t total) {
  return kInterruptedPrefix + std::to_string(done) + " of " +
         std::to_string(total) + " patterns: run again with --resume to go on";
}

Status run_patterns(const AppContext& ctx, AnalysisState& state,
                    const SummaryFunction& function, const RunFiles& files,
                    const RunSeed& seed, ProgressCounters& counters,
                    const std::function<void(std::int32_t)>& after_pattern) {
  TmpFileWriter writer;
  PatternSaver saver;
  auto write_pattern = [&](std::int32_t s, const PatternValues& values) {
    count_pattern_done(state, s, counters);
    std::vector<const std::vector<double>*> blocks;
    for (const auto& v : values) blocks.push_back(&v);
    Status status = writer.write_block(state, blocks);
    if (status.ok() && s > 0 && saver.is_open()) status = saver.save(s);
    if (status.ok() && after_pattern) after_pattern(s);
    // A stop asked for by a signal ends the run here, every pattern up to
    // s whole in the temporary file.
    if (status.ok() && s < state.n_simulations && stop_signal() != 0) {
      status = interrupted_text(s, state.n_simulations);
    }
    return status;
  };
  const SimulationEnv env = simulation_env(ctx, seed, function);
  auto refuse = [&](const std::string& out) {
    release_run_arrays(state);
    return Status(kFileWriteError + out);
  };
  if (auto out = output_naming_input(files.input_path, files.tmp_paths);
      !out.empty()) {
    return refuse(out);
  }
  const std::string& saved = ctx.settings.save_patterns;
  std::error_code ec;
  for (const std::string& out : {saved, files.record_path}) {
    if (!out.empty() &&
        std::filesystem::equivalent(out, files.input_path, ec)) {
      return refuse(out);
    }
  }
  // What makes the run, and with --resume where the interrupted one
  // stopped; then the record, before the first pattern.
  RunRecord record;
  std::int32_t first = 0;
  Status status = make_run_record(ctx, state, function, files, seed, record);
  if (status.ok() && ctx.settings.resume) {
    status = resume_point(files, record, state, first);
  }
  if (status.ok()) {
    status = write_whole_file(files.record_path, run_record_text(record));
  }
  // Saved patterns go back to the survey's origin, when import kept one.
  PlotOrigin origin;
  if (status.ok() && !saved.empty()) {
    status = read_plot_origin(
        change_extension(files.input_path, kOriginExtension), origin);
  }
  std::unique_ptr<NullModel> model;
  if (status.ok()) status = make_null_model(state, env, model);
  if (status.ok() && !saved.empty()) {
    status = saver.open(saved, state, *model, env, origin);
    // A resumed run saves the patterns it keeps again: each comes from
    // its own stream.
    for (std::int32_t s = 1; s < first && status.ok(); ++s) {
      status = saver.save(s);
    }
  }
  // The temporary file last: whatever fails before leaves it as it was.
  if (status.ok()) status = writer.open(files.tmp_paths, first > 0);
  if (status.ok()) {
    const StopWindow stop_window;
    status =
        ctx.executor->run(state, *model, function, first, state.n_simulations,
                          env, ctx.settings.threads, write_pattern);
  }
  if (status.ok()) {
    status = saver.close();
  } else {
    saver.abandon();
  }
  const Status close_status = writer.close();
  release_run_arrays(state);
  return status.ok() ? close_status : status;
}

Status write_results(const AppContext& ctx, const AnalysisState& state,
                     const SummaryFunction& function, const RunFiles& files,
                     std::vector<TestOutcome>& tests) {
  Status status = write_envelopes(state, files.tmp_paths);
  if (!status.ok()) return status;
  // A directional run writes four temporary files and runs no test.
  if (files.tmp_paths.size() != 1) return status;
  return write_tests(ctx, state, function.choice().kind,
                     ctx.settings.null_model, function.csr_value(state),
                     files.tmp_paths.front(), tests);
}

Status write_tests(const AppContext& ctx, const AnalysisState& state,
                   FunctionKind function, NullKind null_kind, double csr_value,
                   const std::string& tmp_file_name,
                   std::vector<TestOutcome>& tests) {
  Status status;
  const TestCentre centre = ctx.settings.test_centre;
  // Centred on the CSR value, a test of another model's run still asks
  // whether the pattern is CSR.
  std::string note;
  const bool inhomogeneous =
      function == FunctionKind::kLinhom || function == FunctionKind::kGinhom;
  if (centre == TestCentre::kCsr && !inhomogeneous &&
      (state.process_type != ProcessType::kCsr ||
       null_kind != NullKind::kHeader)) {
    note = std::string("departure from CSR, not from the ") +
           null_model_name(state, null_kind) +
           " model: --centre mean tests the model itself";
  }
  // With both tests the second status replaces the first, except that a
  // supremum file that could not be written is never reported as success.
  const Significance sig = ctx.settings.significance_index;
  TestOutcome outcome;
  if (runs_supremum(sig)) {
    status = supremum_test(state, tmp_file_name, centre, csr_value, &outcome);
    outcome.note = note;
    if (status.ok()) tests.push_back(outcome);
  }
  if (runs_cramer_von_mises(sig)) {
    const bool write_failed = status.starts_with(kFileWriteError);
    Status cvm_status =
        cvm_test(state, tmp_file_name, centre, csr_value, &outcome);
    outcome.note = note;
    if (cvm_status.ok()) tests.push_back(outcome);
    if (!cvm_status.ok() || !write_failed) status = std::move(cvm_status);
  }
  return status;
}

}  // namespace qlor
