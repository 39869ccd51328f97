// The qlor command line, callable in-process for tests.
#pragma once

#include <istream>
#include <ostream>

namespace qlor {

/// Runs the command line `argv` with the given streams and returns the exit
/// status: 0 success, 1 a run that did not complete, 2 a usage error.
/// Progress lines go to `err` only when `err_is_terminal` (a person watches)
/// or when `--progress` is given.
int run_cli(int argc, const char* const* argv, std::istream& in,
            std::ostream& out, std::ostream& err, bool err_is_terminal = false);

}  // namespace qlor
