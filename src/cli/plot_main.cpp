// qlor-plot: the console program with the figures drawn in this process. qlor
// starts it for `qlor plot`, so that its other commands need not load Qt.
#include <unistd.h>

#include <iostream>

#include "cli/cli_app.h"

int main(int argc, char** argv) {
  qlor::CliEnvironment environment;
  environment.err_is_terminal = isatty(STDERR_FILENO) == 1;
  return qlor::run_cli(argc, argv, std::cin, std::cout, std::cerr, environment);
}
