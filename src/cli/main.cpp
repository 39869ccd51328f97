// qlor: the console program. Under an MPI launcher, rank 0 runs the command
// and the other ranks make patterns for its runs.
//
// The MPI libraries take several milliseconds to load, more than the rest of
// a small run's start, so the program everyone starts is built without them
// (QLOR_MPI_PROGRAM names its MPI form). Under a launcher it replaces itself
// with that form, built from this file beside it (QLOR_WITH_MPI): the same
// process, arguments, environment and streams, so the launcher sees no
// difference.
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "cli/cli_app.h"
#include "cli/launcher.h"
#ifdef QLOR_WITH_MPI
#include "distributed/mpi_session.h"
#elif defined(QLOR_MPI_PROGRAM)
#include "cli/beside_self.h"
#endif

namespace {

int run_under_launcher(int argc, char** argv, const qlor::LauncherInfo& info) {
#ifdef QLOR_WITH_MPI
  (void)info;
  qlor::distributed::MpiSession session(&argc, &argv);
  if (session.rank() != 0) {
    session.serve();
    return 0;
  }
  int code = 2;
  if (!session.threads_supported()) {
    std::cerr << "qlor: the MPI library cannot be used by a program with "
                 "threads (MPI_THREAD_FUNNELED)\n";
  } else {
    qlor::CliEnvironment environment;
    environment.executor = &session.executor();
    // Under mpirun, standard input is a pipe from the launcher: nobody may
    // be there to answer.
    environment.refuse_prompts = isatty(STDIN_FILENO) == 0;
    environment.err_is_terminal = isatty(STDERR_FILENO) == 1;
    code =
        qlor::run_cli(argc, argv, std::cin, std::cout, std::cerr, environment);
  }
  std::cout.flush();
  session.finish();
  return code;
#elif defined(QLOR_MPI_PROGRAM)
  (void)argc;
  (void)info;
  const std::string program = qlor::program_beside_self(QLOR_MPI_PROGRAM);
  if (!program.empty()) execv(program.c_str(), argv);
  std::cerr << "qlor: started by an MPI launcher, but its MPI form "
            << QLOR_MPI_PROGRAM << ", built beside qlor, cannot be started";
  if (!program.empty()) {
    std::cerr << " ('" << program << "': " << std::strerror(errno) << ')';
  }
  std::cerr << '\n';
  return 2;
#else
  // Every rank would run the whole command and write the same files.
  if (info.size == 1)
    return qlor::run_cli(argc, argv, std::cin, std::cout, std::cerr);
  if (info.rank.value_or(0) == 0) {
    std::cerr << "qlor: started by an MPI launcher, but built without MPI "
                 "(QLOR_MPI=OFF); run it without mpirun or srun\n";
  }
  return 2;
#endif
}

}  // namespace

int main(int argc, char** argv) {
  const qlor::LauncherInfo info = qlor::detect_launcher(
      [](const char* name) -> const char* { return std::getenv(name); });
  if (info.started) return run_under_launcher(argc, argv, info);
  qlor::CliEnvironment environment;
  environment.err_is_terminal = isatty(STDERR_FILENO) == 1;
  return qlor::run_cli(argc, argv, std::cin, std::cout, std::cerr, environment);
}
