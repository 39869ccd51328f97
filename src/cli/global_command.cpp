// qlor global: reads the curves, tests, prints and writes the envelope.
#include "cli/global_command.h"

#include <filesystem>
#include <fstream>

#include "batch/global_envelope_run.h"
#include "cli/file_commands.h"
#include "results/file_names.h"
#include "results/run_record.h"
#include "results/tmp_file.h"

namespace qlor {

namespace {

namespace fs = std::filesystem;

bool same_file(const std::string& a, const std::string& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec);
}

}  // namespace

void add_global_command(CLI::App& app, GlobalCommand& c) {
  c.sub = app.add_subcommand(
      "global",
      "Global envelope test (extreme rank length) of an earlier run's "
      "temporary file: one p-value over all distances and the "
      "100(1-alpha) % global envelope as CSV");
  c.sub
      ->add_option("TMPFILE", c.file,
                   "Temporary file (.tmp, or one sector's file) with its "
                   "sample data file beside it")
      ->required();
  c.sub->add_option("--alpha", c.alpha, "Level of the test (default 0.05)")
      ->option_text("LEVEL");
  c.sub->add_option("-o,--output", c.output,
                    "CSV file to write (default: the temporary file's name "
                    "with _global.csv)");
}

int run_global_command(const GlobalCommand& c, std::ostream& out,
                       std::ostream& err) {
  if (!(c.alpha > 0 && c.alpha < 1)) {
    err << "qlor: --alpha takes a level between 0 and 1, such as 0.05\n";
    return 2;
  }
  // The run record beside the temporary file says which run made it.
  RunRecord record;
  const std::string record_path = change_extension(c.file, kRunRecordExtension);
  const bool recorded = read_run_record(record_path, record).ok();
  RunCurves run;
  if (auto s = read_run_curves(c.file, run); !s.ok()) {
    if (s.allocation_cause()) {
      err << "qlor: not enough memory for the curves of '" << c.file << "'\n";
    } else {
      err << s.text() << '\n';
      if (recorded && s == kTmpIncomplete) {
        err << "qlor: '" << record_path << "' records its run: qlor single "
            << record.value("sample") << " --resume completes it\n";
      }
    }
    return 1;
  }
  const std::string output =
      c.output.empty() ? change_extension(c.file, "_global.csv") : c.output;
  if (same_file(output, run.tmp_path) || same_file(output, run.sample_path)) {
    err << "qlor: '" << output << "' is the run's own file; name another "
        << "with -o\n";
    return 1;
  }
  const GlobalEnvelope g = global_envelope(run.curves, c.alpha);
  const std::vector<double>& observed = run.curves.front();
  if (auto failed =
          write_command_file(output, global_envelope_csv(run.t, g, observed));
      !failed.empty()) {
    err << failed;
    return 1;
  }
  out << format_global_outcome(g) << '\n';
  out << format_outside(run.t, g) << '\n';
  if (auto note = few_simulations_note(g); !note.empty()) out << note << '\n';
  if (recorded) {
    out << "run: generator " << record.value("generator") << ", seed "
        << record.value("seed") << " (" << path_title(record_path) << ")\n";
  }
  out << std::flush;
  err << "qlor: wrote '" << output << "'\n";
  return 0;
}

}  // namespace qlor
