// qlor global: the global envelope test of an earlier run's temporary file.
#pragma once

#include <CLI/CLI.hpp>
#include <ostream>
#include <string>

namespace qlor {

/// What `qlor global` was given.
struct GlobalCommand {
  CLI::App* sub = nullptr;
  std::string file;
  std::string output;
  double alpha = 0.05;
};

/// Adds the subcommand global to `app`.
void add_global_command(CLI::App& app, GlobalCommand& c);

/// Runs `qlor global`: prints the p-value line and where the observed curve
/// leaves the envelope, writes the envelope as CSV. Returns 0; 1 when the
/// temporary file is refused or the CSV cannot be written (nothing is
/// written then); 2 for a level outside (0, 1).
[[nodiscard]] int run_global_command(const GlobalCommand& c, std::ostream& out,
                                     std::ostream& err);

}  // namespace qlor
