// The stages every run shares: reading and checking a sample data file, the
// pattern loop (simulate, estimate, write the temporary file) and the
// result files. Each stage returns its status; what a later stage needs
// (the file names, the progress counters, the test outcomes) is passed to
// it explicitly.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "analysis/app_context.h"
#include "input/record_reader.h"
#include "model/analysis_state.h"
#include "model/progress_counters.h"
#include "model/run_seed.h"
#include "results/test_outcome.h"
#include "simulation/simulation_common.h"
#include "statistics/summary_function.h"

namespace qlor {

inline constexpr const char* kFunctionWithDirection =
    "g(t) and O(t) are estimated over all directions: set Direction to "
    "None  ";

/// A sample data file whose patterns were simulated, and how.
struct SeededFile {
  std::string input_path;
  RunSeed seed;
};

/// What a run leaves for the command that started it.
struct RunOutcome {
  /// True when the run ended with the completion message (the automatic
  /// forms: without failure).
  bool complete = false;
  /// The tests of significance that ran, in the order they ran.
  std::vector<TestOutcome> tests;
  /// Every file whose simulations began, with its generator and seed.
  std::vector<SeededFile> seeds;
};

/// The files of one run: the sample data file and its temporary files, one
/// per curve of the run's function (the stem, its suffix, ".tmp").
struct RunFiles {
  std::string input_path;
  std::vector<std::string> tmp_paths;
  /// The run record (the stem, the function's and null model's suffixes,
  /// ".run").
  std::string record_path;
};

/// The files a run of `input_path` reads and writes: the function's
/// suffixes, then the null model's.
[[nodiscard]] RunFiles run_files(const std::string& input_path,
                                 const SummaryFunction& function,
                                 NullKind null_kind);

/// Reads the header values of the sample data file of an earlier run of
/// `function` (without direction) and, when the function's value under CSR
/// needs the species' counts (O), its records. Returns "" or the first
/// failure.
[[nodiscard]] Status read_run_sample(const std::string& path,
                                     FunctionKind function,
                                     Significance significance_index,
                                     AnalysisState& state);

inline constexpr const char* kIntensityWithDirection =
    "The inhomogeneous functions are estimated over all directions: set "
    "Direction to None (--direction none)  ";
inline constexpr const char* kIntensityWithORing =
    "O(t) has no inhomogeneous form here: choose L or g with an intensity  ";
inline constexpr const char* kNullNeedsTwoSpecies =
    "Random labelling and the toroidal shift need a bivariate file (x y "
    "species)  ";
inline constexpr const char* kPairsNeedTwoSpecies =
    "Pairs within one species need a bivariate file (x y species)  ";
inline constexpr const char* kPairsWithDirection =
    "Pairs within one species are counted over all directions: set "
    "Direction to None (--direction none)  ";
inline constexpr const char* kPairsOfAFixedSpecies =
    "Species 1 keeps its place under this null model, so its pairs never "
    "vary: for pairs within species 1 randomise both species or use random "
    "labelling (--randomize 2 or --null labels)  ";
inline constexpr const char* kNullWithIntensity =
    "Random labelling and the toroidal shift do not take --intensity: the "
    "inhomogeneous functions have their own null model  ";
inline constexpr const char* kIntensityWithRings =
    "g_inhom(t) is estimated by the kernel: leave out the ring estimator "
    "(--estimator ring)  ";

/// The combinations of the intensity, null model and pairs settings that
/// no run takes, whatever its file: "" or the message. The console refuses
/// them as usage errors before any file is read; a run refuses them before
/// anything is written.
[[nodiscard]] Status check_run_settings(const RunSettings& settings);

/// The intensity the settings (passed by check_run_settings) choose for a
/// run of `state`: the kernel's sigma (its default for 0), or the grid file
/// read and checked against the plot. Returns "" or the message that ends
/// the run before anything is written.
[[nodiscard]] Status resolve_intensity(const RunSettings& settings,
                                       const AnalysisState& state,
                                       Intensity& intensity);

/// True when the settings count pairs within species 1 under a null model
/// that keeps species 1 in place (the header's or the heterogeneous
/// Poisson model with --randomize 1, the toroidal shift): every simulated
/// curve would be the observed one.
[[nodiscard]] bool species_one_fixed(const RunSettings& settings);

/// The summary function the settings choose for a run of the sample file
/// `input_path` read into `state`, with its intensity resolved, checked
/// against its parameters and, inhomogeneous, against its points (a zero
/// intensity at one, named with `input_path`): "" or the message that ends
/// the run before anything is written.
[[nodiscard]] Status make_run_function(
    const AppContext& ctx, const std::string& input_path,
    const AnalysisState& state, std::unique_ptr<SummaryFunction>& function);

/// What the simulations of a run with `seed` need: the seed, the randomise
/// setting and the function's intensity, which picks the null model.
[[nodiscard]] SimulationEnv simulation_env(const AppContext& ctx,
                                           const RunSeed& seed,
                                           const SummaryFunction& function);

/// Reads the header, the header values and the records of `input_path` and
/// derives the simulation grid; the file's work goes to
/// `counters.pairs_total_file`. Returns ok or the first failing stage's
/// status.
[[nodiscard]] Status read_sample_file(const AppContext& ctx,
                                      const std::string& input_path,
                                      AnalysisState& state,
                                      ProgressCounters& counters,
                                      RecordPass pass = RecordPass::kSingle);

/// The generator and seed of a run that starts now: the settings' generator
/// and the clock's time (fixed by --seed).
[[nodiscard]] RunSeed start_run_seed(const AppContext& ctx);

/// The beginning of the message of a run that a signal stopped.
inline constexpr const char* kInterruptedPrefix = "interrupted after ";

/// "interrupted after 12 of 99 patterns: run again with --resume to go on".
[[nodiscard]] std::string interrupted_text(std::int32_t done,
                                           std::int32_t total);

/// The same for a run of `files`, except that a resumed run without --seed
/// takes the seed its run record holds.
[[nodiscard]] RunSeed start_run_seed(const AppContext& ctx,
                                     const RunFiles& files);

/// Runs pattern 0 (the sample) and the simulated patterns 1 .. n, drawn
/// with `seed`, through simulation, estimation and the temporary file(s)
/// of `files`, counting the work in `counters` and calling `after_pattern`
/// with s after each pattern is written. Writes the run record first; with
/// the resume setting goes on after the whole patterns of an interrupted
/// run of the same record. Releases the run's arrays at the end. Returns
/// ok or the status that stopped the loop (a simulation failure, a write
/// error, or a stop signal's interrupted_text()); the patterns written so
/// far stay in the temporary file.
[[nodiscard]] Status run_patterns(
    const AppContext& ctx, AnalysisState& state,
    const SummaryFunction& function, const RunFiles& files, const RunSeed& seed,
    ProgressCounters& counters,
    const std::function<void(std::int32_t)>& after_pattern);

/// Writes the result file(s) and then the tests of significance selected,
/// adding each test that ran to `tests`. Returns ok or the failing
/// writer's status.
[[nodiscard]] Status write_results(const AppContext& ctx,
                                   const AnalysisState& state,
                                   const SummaryFunction& function,
                                   const RunFiles& files,
                                   std::vector<TestOutcome>& tests);

/// Runs the tests of significance selected on `tmp_file_name`, the curves
/// of `function` under the null model `null_kind`, adding each test that
/// ran to `tests`; centred on CSR they measure departure from `csr_value`,
/// the function's value under CSR (for an inhomogeneous function, under the
/// Poisson process of its intensity, which is the run's null model).
/// Returns ok or the failing test's status.
[[nodiscard]] Status write_tests(const AppContext& ctx,
                                 const AnalysisState& state,
                                 FunctionKind function, NullKind null_kind,
                                 double csr_value,
                                 const std::string& tmp_file_name,
                                 std::vector<TestOutcome>& tests);

}  // namespace qlor
