// Command-line parsing and the commands of the console program. Every
// command goes through the same view controller as the desktop window.
#include "cli/cli_app.h"

#include <CLI/CLI.hpp>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "cli/console_platform.h"
#include "cli/file_commands.h"
#include "results/file_names.h"
#include "shell/clock.h"
#include "shell/commands.h"
#include "shell/qlor_view.h"
#include "shell/setting_commands.h"

namespace qlor {

namespace {

const std::map<std::string, int> kSignificanceNames{
    {"none", 0}, {"supremum", 1}, {"cvm", 2}, {"both", 3},
    {"0", 0},    {"1", 1},        {"2", 2},   {"3", 3}};
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
  bool yes = false;
  bool no = false;
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

void add_run_options(CLI::App& app, CliOptions& o) {
  app.add_option("--significance", o.significance,
                 "Test of significance: none, supremum, cvm, both (or 0-3)")
      ->transform(
          CLI::CheckedTransformer(kSignificanceNames, CLI::ignore_case))
      ->option_text("none|supremum|cvm|both");
  app.add_option("--direction", o.direction,
                 "Directional analysis: none, cardinal, diagonal, half-planes "
                 "(or 0-3)")
      ->transform(CLI::CheckedTransformer(kDirectionNames, CLI::ignore_case))
      ->option_text("none|cardinal|diagonal|half-planes");
  app.add_option("--randomize", o.randomize,
                 "Bivariate randomisation: 1 species 2 only, 2 both species")
      ->check(CLI::Range(1, 2));
  app.add_option("--progress", o.progress,
                 "Progress display: 0 always, 1 >1 M, 2 >10 M, 3 >100 M, "
                 "4 do not show (i-j calculations)")
      ->check(CLI::Range(0, 4));
  app.add_option("--seed", o.seed,
                 "Fixed clock time in seconds for every generator seed "
                 "(reproducible runs)")
      ->check(CLI::Range(0LL, 4294967295LL));
  app.add_option("--threads", o.threads, "Worker threads (0: all)")
      ->check(CLI::Range(0, 1024));
  auto* yes = app.add_flag("--yes,-y", o.yes, "Answer every question with Yes");
  auto* no = app.add_flag("--no,-n", o.no, "Answer every question with No");
  yes->excludes(no);
}

CLI::App* add_command(CLI::App& app, const char* name, const char* help,
                      std::string* file, const char* file_help) {
  CLI::App* sub = app.add_subcommand(name, help);
  if (file) sub->add_option("FILE", *file, file_help);
  // The run options may follow the command.
  sub->fallthrough();
  return sub;
}

void add_commands(CLI::App& app, CliCommands& c) {
  c.open =
      add_command(app, "open", "Show a file as the window would (File Open)",
                  &c.file, "File to open");
  c.single = add_command(
      app, "single",
      "Analyse one sample data file (Analysis > Single File); without FILE "
      "the configuration file's INFILE or a prompt",
      &c.file, "Sample data file (.dat)");
  c.precheck = add_command(app, "precheck",
                           "Check a batch file's entries for input errors "
                           "(Analysis > Batch File > PreCheck)",
                           &c.file, "Batch file (.bat)");
  c.check_analyse =
      add_command(app, "check-analyse",
                  "Check a batch file, then analyse its correct entries "
                  "(Analysis > Batch File > Check & Analyse)",
                  &c.file, "Batch file (.bat)");
  c.auto_analyse = add_command(app, "auto",
                               "Analyse a batch file without questions "
                               "(Analysis > Batch File > Auto Analyse)",
                               &c.file, "Batch file (.bat)");
  c.significance = add_command(
      app, "significance",
      "Run the tests of significance on an earlier run's temporary file "
      "(Analysis > Significance only)",
      &c.file, "Temporary file (.tmp)");
  c.settings = add_command(app, "settings",
                           "Show the current settings (View > Show settings)",
                           nullptr, nullptr);
}

// Command-line settings act as the menu commands would, after qlor.ini.
void apply_options(const CliOptions& o, AppContext& ctx) {
  if (o.significance) {
    apply_setting_command(ctx.settings, kCmdSignificanceNone + *o.significance);
  }
  if (o.direction) {
    apply_setting_command(ctx.settings, kCmdDirectionNone + *o.direction);
  }
  if (o.randomize) {
    apply_setting_command(ctx.settings,
                          kCmdRandomizeSpecies2 + *o.randomize - 1);
  }
  if (o.progress) {
    apply_setting_command(ctx.settings, kCmdProgressAlways + *o.progress);
  }
  if (o.threads) ctx.threads = *o.threads;
}

int status_of(bool complete) { return complete ? 0 : 1; }

// One line per test of significance run: the observed statistic's rank and
// its p-value, named by test file when the command ran several files.
void print_test_outcomes(AppContext& ctx, std::ostream& out) {
  const auto& outcomes = ctx.test_outcomes;
  bool several = false;
  for (const auto& o : outcomes) {
    several = several || change_extension(o.file_name, "") !=
                             change_extension(outcomes.front().file_name, "");
  }
  for (const auto& o : outcomes) {
    if (several) out << path_title(o.file_name) << ": ";
    out << format_test_outcome(o) << '\n';
  }
  ctx.test_outcomes.clear();
}

// `qlor open`: the lines the view shows, then how the file was taken.
int run_open(CQLOR_View& view, std::ostream& out, std::ostream& err) {
  if (!view.on_command(kCmdFileOpen)) return 1;
  for (const std::string& line : view.text_lines()) out << line << '\n';
  const AppContext& ctx = view.context();
  err << "qlor: '" << ctx.input_path << "' taken as "
      << (view.batch_selected() == 1 ? "a batch file" : "a sample data file")
      << '\n';
  return 0;
}

int run_command(const CliCommands& c, CQLOR_View& view,
                ConsolePlatform& platform, std::ostream& out,
                std::ostream& err) {
  AppContext& ctx = view.context();
  const bool named = !c.file.empty();
  if (*c.single) {
    // A named file is chosen as File Open would choose it.
    if (named) {
      ctx.input_path = c.file;
      ctx.view.batch_selected = is_batch_path(c.file) ? 1 : 0;
      if (ctx.view.batch_selected == 1) ctx.batch_file_name = c.file;
    }
    return status_of(view.on_command(kCmdSingleFile));
  }
  if (*c.settings) return status_of(view.on_command(kCmdShowSettings));
  // The other commands take a named file as their open dialog's choice.
  if (named) {
    platform.preset_file(c.file);
    ctx.input_path.clear();
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
  app.set_version_flag("--version", "QLOR Version 1.0");
  app.require_subcommand(0, 1);
  CliOptions options;
  add_run_options(app, options);
  CliCommands commands;
  add_commands(app, commands);
  FileCommands file_commands;
  add_file_commands(app, file_commands);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e, out, err);
    return code == 0 ? 0 : 2;
  }
  // Conversions need neither qlor.ini nor the view.
  if (auto code = run_file_commands(file_commands, out, err)) return *code;

  SystemClock system_clock;
  std::unique_ptr<FixedClock> fixed_clock;
  if (options.seed) fixed_clock = std::make_unique<FixedClock>(*options.seed);
  const Clock& clock = fixed_clock ? static_cast<const Clock&>(*fixed_clock)
                                   : static_cast<const Clock&>(system_clock);
  std::optional<bool> answer;
  if (options.yes) answer = true;
  if (options.no) answer = false;
  ConsolePlatform platform(in, out, err, answer);
  if (environment.refuse_prompts) platform.refuse_prompts();
  CQLOR_View view(platform, clock);
  apply_options(options, view.context());
  view.context().executor = environment.executor;

  if (app.get_subcommands().empty()) {
    if (view.has_pending_autorun()) {
      const int code = status_of(view.run_pending_autorun());
      print_test_outcomes(view.context(), out);
      return code;
    }
    out << app.help();
    return 2;
  }
  // A command replaces the automatic run of the configuration file.
  view.context().settings.autorun_pending = 0;
  const int code = run_command(commands, view, platform, out, err);
  print_test_outcomes(view.context(), out);
  return code;
}

}  // namespace qlor
