// The qlor command line, callable in-process for tests.
#pragma once

#include <istream>
#include <ostream>

namespace qlor {

class PatternExecutor;

/// How the program was started, beside its arguments.
struct CliEnvironment {
  /// Makes the simulated patterns; null: this process's worker threads.
  PatternExecutor* executor = nullptr;
  /// Questions cannot be answered at a prompt (an MPI launcher without a
  /// terminal): they need --yes or --no, and a file must be named.
  bool refuse_prompts = false;
  /// Standard error is a terminal: a person watches the progress lines.
  bool err_is_terminal = false;
};

/// Runs the command line `argv` with the given streams and returns the exit
/// status: 0 success, 1 a run that did not complete, 2 a usage error.
/// Progress lines go to `err` only when it is a terminal (a person watches)
/// or when `--progress` is given.
int run_cli(int argc, const char* const* argv, std::istream& in,
            std::ostream& out, std::ostream& err,
            const CliEnvironment& environment = {});

}  // namespace qlor
