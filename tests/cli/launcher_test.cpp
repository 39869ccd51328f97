// How the console program learns that an MPI launcher started it, and what
// it does with questions that nobody can answer there.
#include "cli/launcher.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "cli/cli_app.h"
#include "cli_fixture.h"

namespace qlor {
namespace {

// The environment of one case, read through a plain function pointer.
const std::map<std::string, std::string>* g_env = nullptr;
const char* lookup(const char* name) {
  auto it = g_env->find(name);
  return it == g_env->end() ? nullptr : it->second.c_str();
}

TEST(Launcher, ReadsOpenMpiPmixAndPmiVariables) {
  struct Case {
    std::map<std::string, std::string> env;
    bool started;
    std::optional<int> rank, size;
  };
  const std::vector<Case> cases = {
      {{}, false, {}, {}},
      // Slurm alone (an sbatch script) is no launcher of this process.
      {{{"SLURM_PROCID", "0"}, {"SLURM_NTASKS", "4"}}, false, {}, {}},
      {{{"OMPI_COMM_WORLD_SIZE", "3"}, {"OMPI_COMM_WORLD_RANK", "2"}},
       true,
       2,
       3},
      {{{"PMIX_RANK", "5"}, {"SLURM_NTASKS", "8"}}, true, 5, 8},
      {{{"PMI_RANK", "0"}, {"PMI_SIZE", "1"}}, true, 0, 1},
      // A value that is no number tells nothing, but the launcher is there.
      {{{"PMIX_RANK", "x"}}, true, {}, {}},
      {{{"OMPI_COMM_WORLD_SIZE", "-1"}}, true, {}, {}},
  };
  for (const Case& c : cases) {
    g_env = &c.env;
    const LauncherInfo info = detect_launcher(lookup);
    EXPECT_EQ(info.started, c.started);
    EXPECT_EQ(info.rank, c.rank);
    EXPECT_EQ(info.size, c.size);
  }
  g_env = nullptr;
}

class NoTerminal : public testing::CliFixture {};

// Without a terminal the summary is shown, not asked: the note names
// --yes, the run stops with status 1 and writes nothing. --yes still runs.
TEST_F(NoTerminal, QuestionsNeedAnAnswerFlag) {
  dir.write("p.dat", "20 20 1 1 5 19\n1 1\n5 5\n9.5 3\n12 17\n3 14\n17.5 8\n");
  CliEnvironment environment;
  environment.refuse_prompts = true;
  auto run = [&](std::vector<const char*> args) {
    args.insert(args.begin(), "qlor");
    std::istringstream in("y\n");  // never read
    std::ostringstream out, err;
    const int code = run_cli(static_cast<int>(args.size()), args.data(), in,
                             out, err, environment);
    return testing::CliResult{code, out.str(), err.str()};
  };
  const auto asked = run({"single", "p.dat", "--seed", "1"});
  EXPECT_EQ(asked.code, 1);
  EXPECT_NE(asked.out.find("PROCEED"), std::string::npos);
  EXPECT_NE(asked.err.find("--yes"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "p.tmp"));

  const auto no_file = run({"single"});
  EXPECT_EQ(no_file.code, 1);
  EXPECT_NE(no_file.err.find("name the file"), std::string::npos);

  EXPECT_EQ(run({"single", "p.dat", "--seed", "1", "--yes"}).code, 0);
  EXPECT_TRUE(std::filesystem::exists(dir.path() / "p.ktt"));
}

// Under a launcher the program becomes its MPI form, built beside it; a copy
// of qlor alone must say what is missing and run nothing.
using LoneProgram = testing::CliFixture;
TEST_F(LoneProgram, UnderALauncherNamesItsMissingMpiForm) {
  const std::filesystem::path lone = dir.path() / "bin" / "qlor";
  std::filesystem::create_directory(lone.parent_path());
  std::filesystem::copy_file(QLOR_CLI_BINARY, lone);
  std::ofstream("p.dat") << "10 10 1 1 3 19\n1 1\n2 2\n";
  const auto result =
      run_program({"single", "p.dat", "--yes"}, lone.string(),
                  "OMPI_COMM_WORLD_SIZE=2 OMPI_COMM_WORLD_RANK=0");
  EXPECT_EQ(result.code, 2);
  EXPECT_EQ(result.out, "");
#ifdef QLOR_CLI_MPI_PROGRAM
  EXPECT_NE(result.err.find("its MPI form " QLOR_CLI_MPI_PROGRAM),
            std::string::npos)
      << result.err;
  EXPECT_NE(
      result.err.find((lone.parent_path() / QLOR_CLI_MPI_PROGRAM).string()),
      std::string::npos)
      << result.err;
#else
  EXPECT_NE(result.err.find("built without MPI"), std::string::npos)
      << result.err;
#endif
  EXPECT_FALSE(std::filesystem::exists("p.tmp"));

  // Alone and without a launcher it runs as always.
  EXPECT_EQ(
      run_program({"single", "p.dat", "--yes", "--seed", "1"}, lone.string())
          .code,
      0);
  EXPECT_TRUE(std::filesystem::exists("p.ktt"));
}

}  // namespace
}  // namespace qlor
