// `qlor plot` in the console program. Drawing needs Qt, whose libraries take
// longer to load than a small analysis takes to run, so qlor does not link
// them: it starts qlor-plot, built beside it, for this command only, and
// passes on its exit status. Its messages go straight to standard error.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <vector>

#include "cli/beside_self.h"
#include "cli/file_commands.h"

extern char** environ;

namespace qlor {

namespace {

constexpr const char* kPlotHelper = "qlor-plot";

/// The arguments after the program name that give qlor-plot the same plot
/// command.
std::vector<std::string> plot_arguments(const FileCommands& c) {
  std::vector<std::string> args{"plot"};
  if (!c.output.empty()) args.insert(args.end(), {"--output", c.output});
  if (!c.image_size.empty()) args.insert(args.end(), {"--size", c.image_size});
  if (c.global) {
    char alpha[32];
    std::snprintf(alpha, sizeof alpha, "%.17g", c.alpha);
    args.insert(args.end(), {"--global", "--alpha", alpha});
  }
  // After "--" a file whose name starts with '-' is still the file.
  args.insert(args.end(), {"--", c.file});
  return args;
}

}  // namespace

int run_plot(const FileCommands& c, std::ostream& err) {
  const std::string helper = program_beside_self(kPlotHelper);
  if (helper.empty() || access(helper.c_str(), X_OK) != 0) {
    err << "qlor: cannot draw figures: the program " << kPlotHelper
        << ", built beside qlor, is missing";
    if (!helper.empty()) err << " ('" << helper << "')";
    err << '\n';
    return 1;
  }
  std::vector<std::string> args = plot_arguments(c);
  args.insert(args.begin(), helper);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  // What this process wrote comes before what the helper writes.
  std::cout.flush();
  err.flush();
  pid_t pid = 0;
  if (const int e = posix_spawn(&pid, helper.c_str(), nullptr, nullptr,
                                argv.data(), environ);
      e != 0) {
    err << "qlor: cannot start '" << helper << "': " << std::strerror(e)
        << '\n';
    return 1;
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) {
      err << "qlor: lost track of '" << helper << "': " << std::strerror(errno)
          << '\n';
      return 1;
    }
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  err << "qlor: " << kPlotHelper << " was stopped by signal "
      << WTERMSIG(status) << '\n';
  return 1;
}

}  // namespace qlor
