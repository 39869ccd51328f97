// Command-line parsing and the commands of the console program.
#include "cli/cli_app.h"

#include <CLI/CLI.hpp>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "analysis/single_run.h"
#include "cli/console_platform.h"
#include "shell/app_context.h"
#include "shell/clock.h"

namespace qlor {

namespace {

const std::map<std::string, int> kSignificanceNames{
    {"none", 0}, {"supremum", 1}, {"cvm", 2}, {"both", 3},
    {"0", 0},    {"1", 1},        {"2", 2},   {"3", 3}};
const std::map<std::string, int> kDirectionNames{
    {"none", 0}, {"cardinal", 1}, {"diagonal", 2}, {"half-planes", 3},
    {"0", 0},    {"1", 1},        {"2", 2},        {"3", 3}};
constexpr double kProgressThresholds[] = {0, 1000000, 10000000, 100000000,
                                          2000000000};

// Settings given on the command line; unset ones keep their current value.
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

void add_run_options(CLI::App& app, CliOptions& o) {
  app.add_option("--significance", o.significance,
                 "Test of significance: none, supremum, cvm, both (or 0-3)")
      ->transform(CLI::CheckedTransformer(kSignificanceNames, CLI::ignore_case));
  app.add_option("--direction", o.direction,
                 "Directional analysis: none, cardinal, diagonal, half-planes "
                 "(or 0-3)")
      ->transform(CLI::CheckedTransformer(kDirectionNames, CLI::ignore_case));
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

void apply_options(const CliOptions& o, AppContext& ctx) {
  if (o.significance) ctx.settings.significance_index = *o.significance;
  if (o.direction) set_direction(ctx.settings, *o.direction);
  if (o.randomize) ctx.settings.randomize_mode = *o.randomize;
  if (o.progress) {
    ctx.settings.progress_threshold =
        kProgressThresholds[static_cast<std::size_t>(*o.progress)];
  }
  if (o.threads) ctx.threads = *o.threads;
}

}  // namespace

int run_cli(int argc, const char* const* argv, std::istream& in,
            std::ostream& out, std::ostream& err) {
  CLI::App app{"QLOR - second-order analysis of mapped point patterns "
               "(Ripley's K and L with Monte Carlo envelopes)",
               "qlor"};
  app.set_version_flag("--version", "QLOR Version 1.0");
  app.require_subcommand(0, 1);
  CliOptions options;
  add_run_options(app, options);

  std::string single_file;
  CLI::App* single = app.add_subcommand(
      "single", "Analyse one sample data file (Analysis > Single File)");
  single->add_option("FILE", single_file, "Sample data file (.dat)");
  single->fallthrough();

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e, out, err);
    return code == 0 ? 0 : 2;
  }

  SystemClock system_clock;
  std::unique_ptr<FixedClock> fixed_clock;
  if (options.seed) fixed_clock = std::make_unique<FixedClock>(*options.seed);
  const Clock& clock = fixed_clock ? static_cast<const Clock&>(*fixed_clock)
                                   : static_cast<const Clock&>(system_clock);
  std::optional<bool> answer;
  if (options.yes) answer = true;
  if (options.no) answer = false;
  ConsolePlatform platform(in, out, err, answer);
  AppContext ctx(platform, clock);
  apply_options(options, ctx);

  if (*single) {
    if (!single_file.empty()) ctx.input_path = single_file;
    return run_single_file(ctx) ? 0 : 1;
  }
  out << app.help();
  return 2;
}

}  // namespace qlor
