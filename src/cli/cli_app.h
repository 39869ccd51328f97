// The qlor command line, callable in-process for tests.
#pragma once

#include <istream>
#include <ostream>

namespace qlor {

/// Runs the command line `argv` with the given streams and returns the exit
/// status: 0 success, 1 a run that did not complete, 2 a usage error.
int run_cli(int argc, const char* const* argv, std::istream& in,
            std::ostream& out, std::ostream& err);

}  // namespace qlor
