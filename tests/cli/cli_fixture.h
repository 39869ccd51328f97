// A fixture for tests of the console program in-process: each test works in
// a folder of its own (qlor.ini and relative paths are read from there).
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_app.h"
#include "temp_dir.h"

namespace qlor::testing {

/// What one invocation printed and returned.
struct CliResult {
  int code;
  std::string out, err;
  [[nodiscard]] bool said(const std::string& text) const {
    return out.find(text) != std::string::npos ||
           err.find(text) != std::string::npos;
  }
};

class CliFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
  }
  void TearDown() override { std::filesystem::current_path(saved_); }

  /// Runs "qlor ARGS" with `input` as standard input.
  CliResult run(std::vector<const char*> args, const std::string& input = "") {
    args.insert(args.begin(), "qlor");
    std::istringstream in(input);
    std::ostringstream out, err;
    const int code =
        run_cli(static_cast<int>(args.size()), args.data(), in, out, err);
    return {code, out.str(), err.str()};
  }

  /// Runs the program itself (QLOR_CLI_BINARY) with ARGS, standard input
  /// empty and its output streams files; code -1 when a signal ended it.
  /// `program` replaces it, and `environment` ("NAME=value ...") is added.
  CliResult run_program(const std::vector<const char*>& args,
                        const std::string& program = QLOR_CLI_BINARY,
                        const std::string& environment = "") {
    std::string command = environment + " '" + program + "'";
    for (const char* a : args) command += std::string(" '") + a + "'";
    command += " >out.txt 2>err.txt </dev/null";
    const int status = std::system(command.c_str());
    const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return {code, read_bytes("out.txt"), read_bytes("err.txt")};
  }

  TempDir dir;

 private:
  std::filesystem::path saved_;
};

}  // namespace qlor::testing
