// qlor: the console program.
#include <unistd.h>

#include <iostream>

#include "cli/cli_app.h"

int main(int argc, char** argv) {
  return qlor::run_cli(argc, argv, std::cin, std::cout, std::cerr,
                       isatty(STDERR_FILENO) == 1);
}
