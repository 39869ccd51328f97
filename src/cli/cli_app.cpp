// Command-line parsing and the commands of the console program. Every
// command goes through the same view controller as the desktop window.
#include "cli/cli_app.h"

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "analysis/pattern_run.h"
#include "app/commands.h"
#include "app/setting_commands.h"
#include "app/view_controller.h"
#include "cli/console_platform.h"
#include "cli/file_commands.h"
#include "cli/global_command.h"
#include "input/sample_header.h"
#include "model/clock.h"
#include "model/decimal.h"
#include "model/version.h"
#include "platform/stop_signal.h"
#include "results/file_names.h"
#include "simulation/null_model.h"
#include "statistics/kernel_isa.h"
#include "statistics/summary_function.h"

namespace qlor {

namespace {

const std::map<std::string, int> kSignificanceNames{
    {"none", 0}, {"supremum", 1}, {"cvm", 2}, {"both", 3},
    {"0", 0},    {"1", 1},        {"2", 2},   {"3", 3}};
const std::map<std::string, GeneratorKind> kGeneratorNames{
    {"philox", GeneratorKind::kPhilox}, {"classic", GeneratorKind::kClassic}};
const std::map<std::string, TestCentre> kCentreNames{
    {"csr", TestCentre::kCsr}, {"mean", TestCentre::kMean}};
const std::map<std::string, FunctionKind> kFunctionNames{
    {"L", FunctionKind::kL}, {"g", FunctionKind::kG}, {"O", FunctionKind::kO}};
const std::map<std::string, NullKind> kNullNames{{"header", NullKind::kHeader},
                                                 {"labels", NullKind::kLabels},
                                                 {"shift", NullKind::kShift}};
const std::map<std::string, PairSet> kPairNames{
    {"cross", PairSet::kCross}, {"11", PairSet::k11}, {"22", PairSet::k22}};
const std::map<std::string, PcfEstimator> kEstimatorNames{
    {"kernel", PcfEstimator::kKernel}, {"ring", PcfEstimator::kRing}};

// The names a word option takes, for its check: "philox", "classic".
template <class Choice>
std::vector<std::string> names_of(const std::map<std::string, Choice>& map) {
  std::vector<std::string> names;
  for (const auto& [name, choice] : map) names.push_back(name);
  return names;
}

// A half-width: a positive, finite number.
const CLI::Validator kPositiveLength(
    [](std::string& text) -> std::string {
      double v = 0;
      if (!parse_positive_length(text, v)) {
        return "must be a positive number of plot units, not '" + text + "'";
      }
      return {};
    },
    "H > 0");
const std::map<std::string, int> kDirectionNames{
    {"none", 0}, {"cardinal", 1}, {"diagonal", 2}, {"half-planes", 3},
    {"0", 0},    {"1", 1},        {"2", 2},        {"3", 3}};

// Settings given on the command line; unset ones keep the value from the
// configuration file.
struct CliOptions {
  std::optional<int> significance;
  std::optional<int> direction;
  std::optional<int> randomize;
  std::optional<int> progress;
  std::optional<long long> seed;
  std::optional<int> threads;
  std::optional<std::string> generator;
  std::optional<std::string> centre;
  std::optional<std::string> function;
  std::optional<double> bandwidth;
  std::optional<std::string> estimator;
  std::optional<std::string> intensity;
  std::optional<std::string> null_model;
  std::optional<std::string> pairs;
  std::optional<std::string> save_patterns;
  bool resume = false;
  bool yes = false;
  bool no = false;
  bool verbose = false;
};

// The subcommands and the file each one may name.
struct CliCommands {
  CLI::App* open = nullptr;
  CLI::App* single = nullptr;
  CLI::App* precheck = nullptr;
  CLI::App* check_analyse = nullptr;
  CLI::App* auto_analyse = nullptr;
  CLI::App* significance = nullptr;
  CLI::App* settings = nullptr;
  std::string file;
};

// The groups of run options; each command takes those it uses, and the
// bare program (the automatic run) takes all of them.
enum OptionGroup : unsigned {
  kSettingOptions = 1,  // --significance --direction --randomize --progress
                        // --centre
  kRunOptions = 2,      // --seed --threads --generator: the runs that
                        // simulate
  kAnswerOptions = 4,   // --yes --no: the commands that ask
  kAllOptions = 7,
};

void add_run_options(CLI::App& app, CliOptions& o, unsigned groups) {
  app.add_flag("--verbose", o.verbose,
               "Also say what is only worth knowing now and then (a missing "
               "qlor.ini)");
  if (groups & kSettingOptions) {
    app.add_option("--significance", o.significance,
                   "Test of significance: none, supremum, cvm, both (or 0-3)")
        ->transform(
            CLI::CheckedTransformer(kSignificanceNames, CLI::ignore_case))
        ->option_text("none|supremum|cvm|both");
    app.add_option("--direction", o.direction,
                   "Directional analysis: none, cardinal, diagonal, "
                   "half-planes (or 0-3)")
        ->transform(CLI::CheckedTransformer(kDirectionNames, CLI::ignore_case))
        ->option_text("none|cardinal|diagonal|half-planes");
    app.add_option("--randomize", o.randomize,
                   "Bivariate randomisation: 1 species 2 only, 2 both species")
        ->check(CLI::Range(1, 2));
    app.add_option("--progress", o.progress,
                   "Progress display: 0 always, 1 >1 M, 2 >10 M, 3 >100 M, "
                   "4 do not show (i-j calculations); without it progress "
                   "is shown only when standard error is a terminal")
        ->check(CLI::Range(0, 4));
    app.add_option("--centre", o.centre,
                   "What the supremum and Cramer-von Mises tests measure "
                   "departure from: csr (L(t) - t = 0, the default) or mean "
                   "(the pointwise mean of the simulations; writes _mean.sup "
                   "and _mean.cvm)")
        ->check(CLI::IsMember(names_of(kCentreNames)))
        ->option_text("csr|mean");
    app.add_option("--function", o.function,
                   "Summary function: L (L(t) - t, the default), g (the pair "
                   "correlation function) or O (the O-ring statistic); g "
                   "and O write NAME_g.* and NAME_O.*")
        ->check(CLI::IsMember(names_of(kFunctionNames)))
        ->option_text("L|g|O");
    app.add_option("--bandwidth", o.bandwidth,
                   "Half-width of the Epanechnikov kernel of g and O, in "
                   "plot units (default 0.15 / sqrt(n / area))")
        ->check(kPositiveLength)
        ->option_text("H");
    app.add_option("--estimator", o.estimator,
                   "How g and O are estimated: kernel (the default) or ring "
                   "(differences of K between consecutive distances)")
        ->check(CLI::IsMember(names_of(kEstimatorNames)))
        ->option_text("kernel|ring");
    app.add_option("--intensity", o.intensity,
                   "Inhomogeneous analysis: L_inhom (or g_inhom with "
                   "--function g) against a heterogeneous Poisson null "
                   "model, with the intensity estimated by a Gaussian kernel "
                   "(sigma: one eighth of the plot's shorter side, or "
                   "kernel:SIGMA) or read from a grid file (CSV x,y,"
                   "intensity); writes NAME_Linhom.* or NAME_ginhom.*")
        ->check(CLI::Validator(
            [](std::string& text) {
              IntensitySetting setting;
              const Status s = parse_intensity_setting(text, setting);
              return s.ok() ? std::string() : s.text();
            },
            "", "intensity"))
        ->option_text("kernel[:SIGMA]|FILE.csv");
    app.add_option("--null", o.null_model,
                   "Null model of a bivariate file: header (the header's "
                   "model with --randomize, the default), labels (random "
                   "labelling: positions fixed, labels shuffled) or shift "
                   "(toroidal shift of species 2); writes NAME_labels.* or "
                   "NAME_shift.*")
        ->check(CLI::IsMember(names_of(kNullNames)))
        ->option_text("header|labels|shift");
    app.add_option("--pairs", o.pairs,
                   "The pairs a bivariate statistic counts: cross (across "
                   "species, the default), 11 or 22 (within species 1 or 2: "
                   "the univariate function of that species' points); "
                   "writes NAME_L11.*, NAME_g22.* ...")
        ->check(CLI::IsMember(names_of(kPairNames)))
        ->option_text("cross|11|22");
  }
  if (groups & kRunOptions) {
    app.add_option("--seed", o.seed,
                   "The run's seed in place of the clock time in seconds "
                   "(reproducible runs)")
        ->check(CLI::Range(0LL, 4294967295LL));
    app.add_option("--generator", o.generator,
                   "Random numbers: philox (the default) or classic (the "
                   "historical generator, draw for draw)")
        ->check(CLI::IsMember(names_of(kGeneratorNames)))
        ->option_text("philox|classic");
    app.add_option("--threads", o.threads, "Worker threads (0: all)")
        ->check(CLI::Range(0, 1024));
    app.add_option("--save-patterns", o.save_patterns,
                   "qlor single: write every simulated pattern to FILE.csv "
                   "(pattern,x,y,species; coordinates with 17 significant "
                   "digits), the same for any threads and ranks")
        ->option_text("FILE.csv");
    app.add_flag("--resume", o.resume,
                 "Go on from the whole patterns of an interrupted run of the "
                 "same file, settings and seed (its run record, NAME.run): "
                 "the files are those of an uninterrupted run; a batch goes "
                 "on at its first entry without a complete result");
  }
  if (groups & kAnswerOptions) {
    auto* yes =
        app.add_flag("--yes,-y", o.yes, "Answer every question with Yes");
    auto* no = app.add_flag("--no,-n", o.no, "Answer every question with No");
    yes->excludes(no);
  }
}

CLI::App* add_command(CLI::App& app, CliOptions& o, unsigned groups,
                      const char* name, const char* help, std::string* file,
                      const char* file_help) {
  CLI::App* sub = app.add_subcommand(name, help);
  if (file) sub->add_option("FILE", *file, file_help);
  // The command's own options, listed in its help; the others may still
  // follow the command and reach the program's options.
  add_run_options(*sub, o, groups);
  sub->fallthrough();
  return sub;
}

void add_commands(CLI::App& app, CliOptions& o, CliCommands& c) {
  constexpr unsigned kAnalysis = kSettingOptions | kRunOptions;
  c.open = add_command(app, o, 0, "open",
                       "Show a file as the window would (File Open)", &c.file,
                       "File to open");
  c.single = add_command(
      app, o, kAllOptions, "single",
      "Analyse one sample data file (Analysis > Single File); without FILE "
      "the configuration file's INFILE or a prompt",
      &c.file, "Sample data file (.dat)");
  c.precheck = add_command(app, o, kSettingOptions, "precheck",
                           "Check a batch file's entries for input errors "
                           "(Analysis > Batch File > PreCheck)",
                           &c.file, "Batch file (.bat)");
  c.check_analyse =
      add_command(app, o, kAllOptions, "check-analyse",
                  "Check a batch file, then analyse its correct entries "
                  "(Analysis > Batch File > Check & Analyse)",
                  &c.file, "Batch file (.bat)");
  c.auto_analyse = add_command(app, o, kAnalysis, "auto",
                               "Analyse a batch file without questions "
                               "(Analysis > Batch File > Auto Analyse)",
                               &c.file, "Batch file (.bat)");
  c.significance = add_command(
      app, o, kSettingOptions, "significance",
      "Run the tests of significance on an earlier run's temporary file "
      "(Analysis > Significance only)",
      &c.file, "Temporary file (.tmp)");
  c.settings = add_command(app, o, kSettingOptions, "settings",
                           "Show the current settings (View > Show settings)",
                           nullptr, nullptr);
}

// Command-line settings act as the menu commands would, after qlor.ini.
void apply_options(const CliOptions& o, AppContext& ctx) {
  if (o.significance) {
    set_setting(ctx.settings, SettingGroup::kSignificance, *o.significance);
  }
  if (o.direction)
    set_setting(ctx.settings, SettingGroup::kDirection, *o.direction);
  if (o.randomize)
    set_setting(ctx.settings, SettingGroup::kRandomize, *o.randomize);
  if (o.progress)
    set_setting(ctx.settings, SettingGroup::kProgress, *o.progress);
  if (o.threads) ctx.settings.threads = *o.threads;
  if (o.generator) ctx.settings.generator = kGeneratorNames.at(*o.generator);
  if (o.centre) ctx.settings.test_centre = kCentreNames.at(*o.centre);
  if (o.function) ctx.settings.function = kFunctionNames.at(*o.function);
  if (o.bandwidth) ctx.settings.bandwidth = *o.bandwidth;
  if (o.estimator) ctx.settings.estimator = kEstimatorNames.at(*o.estimator);
  if (o.intensity) {
    (void)parse_intensity_setting(*o.intensity, ctx.settings.intensity);
  }
  if (o.null_model) ctx.settings.null_model = kNullNames.at(*o.null_model);
  if (o.pairs) ctx.settings.pairs = kPairNames.at(*o.pairs);
  if (o.save_patterns) ctx.settings.save_patterns = *o.save_patterns;
  ctx.settings.resume = o.resume;
  ctx.settings.seed_fixed = o.seed.has_value();
}

// Combinations of the function options that no run takes; "" when none.
std::string refused_function_options(const CliOptions& o,
                                     const RunSettings& settings) {
  const bool pair_correlation = settings.function != FunctionKind::kL;
  if (pair_correlation && settings.direction_index != Direction::kNone) {
    return "qlor: --function g and O are estimated over all directions; "
           "directional analysis stays with L (--direction none)";
  }
  if (!pair_correlation && (o.estimator || o.bandwidth)) {
    return std::string("qlor: ") +
           (o.estimator ? "--estimator" : "--bandwidth") +
           " applies to --function g or O only";
  }
  // What a run would refuse whatever its file, as a usage error.
  if (const Status s = check_run_settings(settings); !s.ok()) {
    std::string text = s.text();
    text.erase(text.find_last_not_of(' ') + 1);
    return "qlor: " + text;
  }
  return {};
}

// A bandwidth that the named sample file's plot cannot take: the message,
// or "" (also when the file's header cannot be read: the run says why).
std::string refused_bandwidth(const std::string& path,
                              const RunSettings& settings) {
  if (settings.function == FunctionKind::kL || path.empty()) return {};
  AnalysisState state;
  double pairs_total = 0;
  if (!read_header_values(path, state, Direction::kNone, Significance::kNone,
                          pairs_total)
           .ok()) {
    return {};
  }
  const Status refused =
      check_bandwidth(make_summary_function(settings, state)->choice(), state);
  return refused.ok() ? std::string() : "qlor: " + path + ": " + refused.text();
}

// A null model or pairs that the named sample file cannot take (random
// labelling, the shift and pairs within a species need two species): the
// message, or "" (also when the file cannot be read: the run says why).
std::string refused_null(const std::string& path, const RunSettings& settings) {
  const bool null = settings.null_model != NullKind::kHeader;
  const bool pairs = settings.pairs != PairSet::kCross;
  if (!(null || pairs) || path.empty()) return {};
  AnalysisState state;
  if (!read_run_sample(path, FunctionKind::kL, Significance::kNone, state)
           .ok() ||
      state.analysis_type == AnalysisType::kBivariate) {
    return {};
  }
  const std::string option =
      null ? std::string("--null ") + null_kind_name(settings.null_model)
           : std::string("--pairs ") +
                 (settings.pairs == PairSet::k11 ? "11" : "22");
  return "qlor: " + path + ": " + option +
         " needs a bivariate file (x y species)";
}

int status_of(bool complete) { return complete ? 0 : 1; }

// One line per test of significance run: the observed statistic's rank and
// its p-value, named by test file when the command ran several files.
void print_test_outcomes(ViewController& view, std::ostream& out) {
  const std::vector<TestOutcome> outcomes = view.take_test_outcomes();
  bool several = false;
  for (const auto& o : outcomes) {
    several = several || change_extension(o.file_name, "") !=
                             change_extension(outcomes.front().file_name, "");
  }
  for (const auto& o : outcomes) {
    if (several) out << path_title(o.file_name) << ": ";
    out << format_test_outcome(o) << '\n';
  }
}

// One line per simulated file: its generator and seed, named by file when
// the command simulated several.
void print_run_seeds(ViewController& view, std::ostream& out) {
  const std::vector<SeededFile> seeds = view.take_run_seeds();
  for (const auto& f : seeds) {
    if (seeds.size() > 1) out << path_title(f.input_path) << ": ";
    out << run_seed_text(f.seed) << '\n';
  }
}

// `qlor open`: the lines the view shows, then how the file was taken.
int run_open(ViewController& view, std::ostream& out, std::ostream& err) {
  if (!view.on_command(kCmdFileOpen)) return 1;
  for (const std::string& line : view.text_lines()) out << line << '\n';
  err << "qlor: '" << view.input_path() << "' taken as "
      << (view.batch_selected() == 1 ? "a batch file" : "a sample data file")
      << '\n';
  return 0;
}

int run_command(const CliCommands& c, ViewController& view,
                ConsolePlatform& platform, std::ostream& out,
                std::ostream& err) {
  const bool named = !c.file.empty();
  if (*c.single) {
    // A named file is chosen as File Open would choose it.
    if (named) view.choose_file(c.file);
    return status_of(view.on_command(kCmdSingleFile));
  }
  if (*c.settings) return status_of(view.on_command(kCmdShowSettings));
  // The other commands take a named file as their open dialog's choice.
  if (named) {
    platform.preset_file(c.file);
    view.choose_file("");
  }
  if (*c.open) return run_open(view, out, err);
  if (*c.precheck) return status_of(view.on_command(kCmdBatchPrecheck));
  if (*c.check_analyse)
    return status_of(view.on_command(kCmdBatchCheckAnalyse));
  if (*c.auto_analyse) return status_of(view.on_command(kCmdBatchAutoAnalyse));
  return status_of(view.on_command(kCmdSignificanceOnly));
}

}  // namespace

int run_cli(int argc, const char* const* argv, std::istream& in,
            std::ostream& out, std::ostream& err,
            const CliEnvironment& environment) {
  CLI::App app{
      "QLOR - second-order analysis of mapped point patterns "
      "(Ripley's K and L with Monte Carlo envelopes).\n"
      "Without a command, runs the automatic analysis that qlor.ini "
      "requests (AUTORUN=1 with INFILE).",
      "qlor"};
  // The estimator's instruction-set variant, which QLOR_ISA may cap; every
  // variant writes the same files.
  if (const char* isa = std::getenv("QLOR_ISA")) {
    KernelIsa asked;
    if (!parse_kernel_isa(isa, asked)) {
      err << "qlor: QLOR_ISA takes avx512, avx2 or baseline, not '" << isa
          << "'\n";
      return 2;
    }
  }
  app.set_version_flag(
      "--version", std::string("QLOR Version ") + kVersion +
                       "\nestimator: " + kernel_isa_name(best_kernel_isa()));
  app.require_subcommand(0, 1);
  CliOptions options;
  add_run_options(app, options, kAllOptions);
  CliCommands commands;
  add_commands(app, options, commands);
  FileCommands file_commands;
  add_file_commands(app, file_commands);
  GlobalCommand global_command;
  add_global_command(app, global_command);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e, out, err);
    return code == 0 ? 0 : 2;
  }
  // Conversions need neither qlor.ini nor the view.
  if (auto code = run_file_commands(file_commands, out, err)) return *code;
  if (*global_command.sub) return run_global_command(global_command, out, err);

  SystemClock system_clock;
  std::unique_ptr<FixedClock> fixed_clock;
  if (options.seed) fixed_clock = std::make_unique<FixedClock>(*options.seed);
  const Clock& clock = fixed_clock ? static_cast<const Clock&>(*fixed_clock)
                                   : static_cast<const Clock&>(system_clock);
  std::optional<bool> answer;
  if (options.yes) answer = true;
  if (options.no) answer = false;
  // Logs and scripted runs get no progress lines unless they ask for them.
  const bool show_progress =
      environment.err_is_terminal || options.progress.has_value();
  ConsolePlatform platform(in, out, err, answer, show_progress);
  if (environment.refuse_prompts) platform.refuse_prompts();
  ViewController view(
      platform, clock, kConfigFileName,
      options.verbose ? MissingConfig::kReport : MissingConfig::kQuiet);
  apply_options(options, view.context());
  if (environment.executor) view.context().executor = environment.executor;
  const bool runs = app.get_subcommands().empty() || *commands.single ||
                    *commands.check_analyse || *commands.auto_analyse;
  if (runs) {
    std::string refused =
        refused_function_options(options, view.context().settings);
    if (refused.empty() && *commands.single) {
      refused = refused_bandwidth(commands.file, view.context().settings);
    }
    if (refused.empty() && *commands.single) {
      refused = refused_null(commands.file, view.context().settings);
    }
    if (refused.empty() && options.save_patterns && !*commands.single) {
      refused = "qlor: --save-patterns applies to qlor single";
    }
    if (!refused.empty()) {
      err << refused << '\n';
      return 2;
    }
  }

  // SIGTERM and SIGINT stop a run after its next whole pattern; the exit
  // status is then the signal's, 128 + its number.
  if (runs) catch_stop_signals();
  const auto exit_code = [](int code) {
    return code != 0 && stop_signal() != 0 ? 128 + stop_signal() : code;
  };
  if (app.get_subcommands().empty()) {
    if (view.has_pending_autorun()) {
      const int code = exit_code(status_of(view.run_pending_autorun()));
      print_test_outcomes(view, out);
      print_run_seeds(view, out);
      return code;
    }
    out << app.help();
    return 2;
  }
  // A command replaces the automatic run of the configuration file.
  view.context().settings.autorun_pending = 0;
  const int code = exit_code(run_command(commands, view, platform, out, err));
  print_test_outcomes(view, out);
  print_run_seeds(view, out);
  return code;
}

}  // namespace qlor
