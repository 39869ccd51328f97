// The console program in-process: start-up with qlor.ini, the commands,
// options overriding the configuration file, and the exit statuses.
#include "cli/cli_app.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "analysis/pattern_run.h"
#include "analysis/run_state.h"
#include "cli_fixture.h"
#include "results/curve_source.h"
#include "results/tmp_file.h"
#include "statistics/summary_function.h"
#include "temp_dir.h"

namespace qlor {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;

using Result = testing::CliResult;

class CliTest : public testing::CliFixture {
 protected:
  void SetUp() override {
    CliFixture::SetUp();
    dir.write("p.dat",
              "20 20 1 1 5 19\n1 1\n5 5\n9.5 3\n12 17\n3 14\n17.5 8\n");
  }
};

TEST_F(CliTest, ExitStatuses) {
  dir.write("b.bat", "p.dat\nmissing.dat\n");
  struct Case {
    std::vector<const char*> args;
    int code;
  };
  const Case cases[] = {
      {{"--help"}, 0},
      {{"precheck", "--help"}, 0},
      {{"bogus"}, 2},
      {{"single", "--randomize", "3"}, 2},
      {{}, 2},  // nothing to do: usage
      {{"open", "none.dat"}, 1},
      {{"single", "p.dat", "--no"}, 1},
      {{"precheck", "b.bat"}, 1},
      {{"check-analyse", "b.bat", "--no"}, 1},
      {{"check-analyse", "b.bat", "--yes"}, 0},
      {{"auto", "none.bat"}, 1},
      {{"auto", "b.bat"}, 0},
      {{"significance", "p.tmp"}, 1},  // no test selected
      {{"significance", "p.tmp", "--significance", "both"}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0]);
    EXPECT_EQ(run(c.args).code, c.code);
  }
  EXPECT_TRUE(fs::exists("p.cvm"));
  EXPECT_EQ(read_bytes("b.err"), "missing.dat - File not found\r\n");
}

TEST_F(CliTest, OptionsOverrideQlorIni) {
  // A missing qlor.ini goes unsaid unless asked.
  Result r = run({"settings"});
  EXPECT_EQ(r.err, "");
  r = run({"settings", "--verbose"});
  EXPECT_EQ(r.err, "File  'QLOR.INI'  not found - using default settings  \n");
  EXPECT_TRUE(r.said("Test of Significance :\tNone"));
  dir.write("qlor.ini", "SIGNIFICANCE=1\nDIRECTION=2\nFOO=1\n");
  r = run({"settings", "--significance", "cvm"});
  EXPECT_EQ(r.code, 0);
  EXPECT_TRUE(r.said("Unknown parameter in line 3"));
  EXPECT_TRUE(r.said("Test of Significance :\tCramer-von Mises  "));
  EXPECT_TRUE(
      r.said("Direction analysed :\t\t90\xC2\xB0 Sectors - SW,NW,NE,SE"));
}

TEST_F(CliTest, BareStartUpRunsTheAutomaticAnalysisReproducibly) {
  dir.write("qlor.ini", "AUTORUN=1\nINFILE=p.dat\nPROGRESS_CTRL_BAR=4\n");
  Result r = run({"--seed", "5"});
  EXPECT_EQ(r.code, 0);
  // No message of the run, only the closing line.
  EXPECT_EQ(r.out + r.err, "generator: philox, seed 5\n");
  const std::string first = read_bytes("p.tmp");
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(run({"--seed", "5"}).code, 0);
  EXPECT_EQ(read_bytes("p.tmp"), first);
  dir.write("qlor.ini", "AUTORUN=1\nINFILE=gone.dat\n");
  EXPECT_EQ(run({}).code, 1);
  EXPECT_EQ(read_bytes("gone.err"), "gone.dat  -  File not found\r\n");
}

TEST_F(CliTest, TheRunNamesItsGeneratorAndSeed) {
  struct Case {
    std::vector<const char*> args;
    std::string line;
  };
  const Case cases[] = {
      {{"single", "p.dat", "--yes", "--seed", "17"},
       "generator: philox, seed 17"},
      {{"single", "p.dat", "--yes", "--seed", "17", "--generator", "classic"},
       "generator: classic, seed 17"},
  };
  std::string tmp_of_each;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const Result r = run(c.args);
    EXPECT_EQ(r.code, 0);
    // In the summary before the question, and as the closing line.
    EXPECT_NE(r.out.find("No. of points = 6\n" + c.line + "\n\nPROCEED"),
              std::string::npos)
        << r.out;
    EXPECT_TRUE(r.out.ends_with(c.line + "\n")) << r.out;
    EXPECT_NE(read_bytes("p.tmp"), tmp_of_each);
    tmp_of_each = read_bytes("p.tmp");
  }
  // The same seed and generator, the same patterns.
  EXPECT_EQ(run(cases[1].args).code, 0);
  EXPECT_EQ(read_bytes("p.tmp"), tmp_of_each);
  EXPECT_EQ(run({"single", "p.dat", "--generator", "mt"}).code, 2);
}

TEST_F(CliTest, TestsSayWhatTheyMeasureDepartureFrom) {
  // Simple sequential inhibition with radius 1.
  dir.write("s.dat",
            "20 20 1 1 5 19 1 0\n1 1\n5 5\n9.5 3\n12 17\n3 14\n17.5 8\n");
  Result r = run({"single", "s.dat", "--yes", "--significance", "both"});
  EXPECT_EQ(r.code, 0);
  EXPECT_TRUE(
      r.said("departure from CSR, not from the SSI model: --centre "
             "mean tests the model itself)"));
  EXPECT_TRUE(fs::exists("s.sup") && fs::exists("s.cvm"));
  r = run({"significance", "s.tmp", "--significance", "1", "--centre", "mean"});
  EXPECT_EQ(r.code, 0);
  EXPECT_TRUE(
      r.said("Supremum test, centred on the mean of the "
             "simulations: rank "));
  EXPECT_FALSE(r.said("departure from CSR"));
  EXPECT_TRUE(fs::exists("s_mean.sup"));
  EXPECT_FALSE(fs::exists("s_mean.cvm"));
  // A CSR run needs no note.
  r = run({"single", "p.dat", "--yes", "--significance", "1"});
  EXPECT_TRUE(r.said("Supremum test: rank "));
  EXPECT_FALSE(r.said("departure from CSR"));
}

TEST_F(CliTest, PairCorrelationRunsWriteTheirOwnFiles) {
  // 40 points on a 2 x 2 lattice of clusters in 20 x 20, t = 1 .. 5.
  std::string file = "20 20 1 1 5 19\n";
  for (int i = 0; i < 40; ++i) {
    file += std::to_string(3 + (i % 2) * 12 + (i / 2 % 5) * 0.5) + " " +
            std::to_string(3 + (i / 10 % 2) * 12 + (i / 20) * 1.5) + "\n";
  }
  dir.write("c.dat", file);
  for (const char* function : {"g", "O"}) {
    SCOPED_TRACE(function);
    const std::string stem = std::string("c_") + function;
    Result r = run({"single", "c.dat", "--yes", "--function", function,
                    "--significance", "both", "--seed", "4", "--threads", "1"});
    ASSERT_EQ(r.code, 0) << r.err;
    for (const char* ext : {".tmp", ".ktt", ".sup", ".cvm"}) {
      EXPECT_TRUE(fs::exists(stem + ext)) << ext;
    }
    EXPECT_FALSE(fs::exists("c.tmp"));
    const std::string tmp = read_bytes(stem + ".tmp");
    const std::string sup = read_bytes(stem + ".sup");
    // Any number of threads, the same files.
    r = run({"single", "c.dat", "--yes", "--function", function,
             "--significance", "both", "--seed", "4", "--threads", "3"});
    EXPECT_EQ(read_bytes(stem + ".tmp"), tmp);
    // The tests of an earlier run know the function and its CSR value from
    // the file's name.
    fs::remove(stem + ".sup");
    const std::string tmp_name = stem + ".tmp";
    r = run({"significance", tmp_name.c_str(), "--significance", "1"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(read_bytes(stem + ".sup"), sup);
    // qlor.ini chooses the function too.
    dir.write("qlor.ini",
              std::string("FUNCTION=") + function + "\nBANDWIDTH=0.75\n");
    r = run({"single", "c.dat", "--yes", "--seed", "4"});
    EXPECT_NE(read_bytes(stem + ".tmp"), tmp);  // another bandwidth
    EXPECT_TRUE(r.said("function: " + std::string(function) +
                       "(t), kernel of half-width 0.75"));
    r = run({"settings"});
    EXPECT_TRUE(r.said("Function :\t\t" + std::string(function) +
                       "(t), kernel, bandwidth 0.75"));
    fs::remove("qlor.ini");
  }
}

TEST_F(CliTest, PairCorrelationInBatches) {
  dir.write("q.dat", "20 20 1 1 4 19\n2 2\n5 7\n9.5 3\n12 17\n3 14\n");
  dir.write("b.bat", "p.dat\nq.dat\n");
  const Result r = run({"auto", "b.bat", "--function", "O", "--significance",
                        "1", "--seed", "2"});
  EXPECT_EQ(r.code, 0) << r.err;
  for (const char* file : {"p_O.ktt", "p_O.sup", "q_O.ktt", "q_O.sup"}) {
    EXPECT_TRUE(fs::exists(file)) << file;
  }
  EXPECT_FALSE(fs::exists("p.ktt"));
  EXPECT_FALSE(fs::exists("b.err"));
  // A batch file named like an entry's g file is never written over.
  dir.write("p_O.ktt", "p.dat\n");
  EXPECT_EQ(run({"auto", "p_O.ktt", "--function", "O"}).code, 1);
  EXPECT_EQ(read_bytes("p_O.ktt"), "p.dat\n");
}

TEST_F(CliTest, PairCorrelationRefusals) {
  struct Case {
    std::vector<const char*> args;
    int code;
    const char* says;
  };
  dir.write("zero.dat", "20 20 0 1 5 19\n1 1\n5 5\n9.5 3\n");
  const Case cases[] = {
      {{"single", "p.dat", "--yes", "--function", "g", "--direction", "1"},
       2,
       "directional analysis stays with L"},
      {{"single", "p.dat", "--yes", "--estimator", "ring"},
       2,
       "--estimator applies to --function g or O only"},
      // Half of 20 minus t_max 5.
      {{"single", "p.dat", "--yes", "--function", "O", "--bandwidth", "5.5"},
       2,
       "the largest bandwidth allowed is 5"},
      {{"single", "p.dat", "--yes", "--function", "g", "--bandwidth", "0"},
       2,
       "positive number"},
      {{"single", "zero.dat", "--yes", "--function", "g"},
       1,
       "not defined at t = 0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    const Result r = run(c.args);
    EXPECT_EQ(r.code, c.code);
    EXPECT_TRUE(r.said(c.says)) << r.out << r.err;
  }
  // Nothing written by a refused run.
  EXPECT_FALSE(fs::exists("zero_g.tmp"));
  EXPECT_FALSE(fs::exists("p_g.tmp"));
  EXPECT_FALSE(fs::exists("p_O.tmp"));
}

TEST_F(CliTest, SingleWithoutAFileUsesTheConfigurationFile) {
  dir.write("qlor.ini", "INFILE=p.dat\n");
  const Result r = run({"single", "--yes", "--progress", "4"});
  EXPECT_EQ(r.code, 0);
  EXPECT_FALSE(r.said("open file"));
  EXPECT_TRUE(fs::exists("p.ktt"));
}

TEST_F(CliTest, EachCommandsHelpListsTheOptionsItTakes) {
  struct Case {
    const char* command;
    std::vector<std::string> listed, unlisted;
  };
  const Case cases[] = {
      {"single",
       {"--significance", "--direction", "--progress", "--seed", "--threads",
        "--yes", "--no"},
       {}},
      {"check-analyse", {"--significance", "--seed", "--yes"}, {}},
      {"auto", {"--significance", "--seed", "--threads"}, {"--yes"}},
      {"precheck", {"--direction"}, {"--seed", "--yes"}},
      {"significance", {"--significance"}, {"--seed", "--yes"}},
      {"settings", {"--randomize", "--progress"}, {"--seed"}},
      {"open", {}, {"--significance", "--yes"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    const Result r = run({c.command, "--help"});
    EXPECT_EQ(r.code, 0);
    for (const auto& option : c.listed) EXPECT_TRUE(r.said(option)) << option;
    for (const auto& option : c.unlisted)
      EXPECT_FALSE(r.said(option)) << option;
  }
  // An option a command does not list is still taken after it.
  EXPECT_EQ(run({"precheck", "b.bat", "--seed", "5"}).code, 1);
}

// The program itself, its standard error a file: no progress lines unless
// --progress asks for them, whatever the configuration file says.
TEST_F(CliTest, ProgressGoesToAFileOnlyWhenAsked) {
  dir.write("qlor.ini", "PROGRESS_CTRL_BAR=0\n");
  struct Case {
    std::vector<const char*> options;
    bool progress;
  };
  const Case cases[] = {
      {{}, false}, {{"--progress", "0"}, true}, {{"--progress", "4"}, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.options.empty() ? "" : c.options.back());
    std::vector<const char*> args{"single", "p.dat", "--yes"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    const Result r = run_program(args);
    ASSERT_EQ(r.code, 0);
    EXPECT_EQ(r.err.find("Status: 100% done") != std::string::npos, c.progress)
        << r.err;
    EXPECT_EQ(r.err.find('\r') != std::string::npos, c.progress);
    EXPECT_NE(r.out.find("C A L C U L A T I O N"), std::string::npos);
  }
}

TEST_F(CliTest, InhomogeneousRunsWriteTheirOwnFiles) {
  // A 2 x 2 grid: the west half four times as dense as the east.
  dir.write("lambda.csv",
            "x,y,intensity\n5,5,0.2\n15,5,0.05\n5,15,0.2\n15,15,0.05\n");
  for (const char* intensity : {"kernel:4", "lambda.csv"}) {
    for (const char* function : {"L", "g"}) {
      SCOPED_TRACE(std::string(intensity) + " " + function);
      const std::string stem =
          std::string("p_") + (function[0] == 'L' ? "Linhom" : "ginhom");
      Result r = run({"single", "p.dat", "--yes", "--intensity", intensity,
                      "--function", function, "--significance", "both",
                      "--seed", "4", "--threads", "1"});
      ASSERT_EQ(r.code, 0) << r.err;
      EXPECT_TRUE(r.said("Process:  Heterogeneous Poisson"));
      for (const char* ext : {".tmp", ".ktt", ".sup", ".cvm"}) {
        EXPECT_TRUE(fs::exists(stem + ext)) << ext;
      }
      const std::string tmp = read_bytes(stem + ".tmp");
      r = run({"single", "p.dat", "--yes", "--intensity", intensity,
               "--function", function, "--significance", "both", "--seed", "4",
               "--threads", "3"});
      EXPECT_EQ(read_bytes(stem + ".tmp"), tmp);
    }
  }
  EXPECT_FALSE(fs::exists("p.tmp"));
  // qlor.ini and batches: each entry's own kernel estimate.
  dir.write("qlor.ini", "INTENSITY=kernel:4\n");
  EXPECT_TRUE(run({"settings"}).said("Intensity :\t\tkernel:4"));
  dir.write("q.dat", "20 20 1 1 4 19\n2 2\n5 7\n9.5 3\n12 17\n3 14\n");
  dir.write("b.bat", "p.dat\nq.dat\n");
  const Result r = run({"auto", "b.bat", "--significance", "1", "--seed", "2"});
  EXPECT_EQ(r.code, 0) << r.err;
  for (const char* file : {"q_Linhom.ktt", "q_Linhom.sup", "p_Linhom.sup"}) {
    EXPECT_TRUE(fs::exists(file)) << file;
  }
  EXPECT_FALSE(fs::exists("q.ktt"));
  // A batch file named like an entry's inhomogeneous file is never written
  // over.
  dir.write("p_Linhom.ktt", "p.dat\n");
  EXPECT_EQ(run({"auto", "p_Linhom.ktt"}).code, 1);
  EXPECT_EQ(read_bytes("p_Linhom.ktt"), "p.dat\n");
}

TEST_F(CliTest, InhomogeneousRefusals) {
  struct Case {
    std::vector<const char*> args;
    int code;
    const char* says;
  };
  dir.write("short.csv", "x,y,intensity\n5,5,1\n15,5,1\n");  // y to 10
  dir.write("negative.csv", "x,y,intensity\n5,5,1\n15,5,-1\n5,15,1\n15,15,1\n");
  // p.dat's point 2, (5, 5), lies in the south-west cell.
  dir.write("zero.csv", "x,y,intensity\n5,5,0\n15,5,1\n5,15,1\n15,15,1\n");
  dir.write("far.dat", "20 20 1 1 5 19\n1 1\n1.5 1\n19 19\n");
  const Case cases[] = {
      {{"single", "p.dat", "--yes", "--intensity", "kernel:0"}, 2, "above 0"},
      {{"single", "p.dat", "--yes", "--intensity", "kernel:x"}, 2, "above 0"},
      {{"single", "p.dat", "--yes", "--intensity", "kernel", "--function", "O"},
       2,
       "O(t) has no inhomogeneous form"},
      {{"single", "p.dat", "--yes", "--intensity", "kernel", "--direction",
        "1"},
       2,
       "over all directions"},
      {{"single", "p.dat", "--yes", "--intensity", "missing.csv"},
       1,
       "missing.csv"},
      {{"single", "p.dat", "--yes", "--intensity", "short.csv"},
       1,
       "short.csv"},
      {{"single", "p.dat", "--yes", "--intensity", "negative.csv"},
       1,
       "negative.csv"},
      {{"single", "p.dat", "--yes", "--intensity", "zero.csv"}, 1, "zero.csv"},
      {{"single", "far.dat", "--yes", "--intensity", "kernel:0.1"},
       1,
       "far.dat: the kernel estimate of the intensity is 0 at point 3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.says);
    const Result r = run(c.args);
    EXPECT_EQ(r.code, c.code);
    EXPECT_TRUE(r.said(c.says)) << r.out << r.err;
  }
  // Nothing written by a refused run.
  for (const char* file : {"p_Linhom.tmp", "p_O.tmp", "far_Linhom.tmp"}) {
    EXPECT_FALSE(fs::exists(file)) << file;
  }
}

TEST_F(CliTest, BivariateNullModelsWriteTheirOwnFiles) {
  dir.write("b.dat",
            "20 20 1 1 5 19\n1 1 0\n5 5 1\n9.5 3 0\n12 17 1\n3 14 0\n"
            "17.5 8 1\n6 11 1\n15 2 0\n");
  for (const char* null : {"labels", "shift"}) {
    for (const char* function : {"L", "O"}) {
      SCOPED_TRACE(std::string(null) + " " + function);
      const std::string stem =
          std::string("b") + (function[0] == 'L' ? "" : "_O") + "_" + null;
      Result r = run({"single", "b.dat", "--yes", "--null", null, "--function",
                      function, "--significance", "both", "--seed", "4",
                      "--threads", "1"});
      ASSERT_EQ(r.code, 0) << r.err;
      EXPECT_TRUE(r.said(null[0] == 'l' ? "Process:  Random labelling"
                                        : "Process:  Toroidal shift"));
      for (const char* ext : {".tmp", ".ktt", ".sup", ".cvm"}) {
        EXPECT_TRUE(fs::exists(stem + ext)) << ext;
      }
      const std::string tmp = read_bytes(stem + ".tmp");
      const std::string sup = read_bytes(stem + ".sup");
      r = run({"single", "b.dat", "--yes", "--null", null, "--function",
               function, "--significance", "both", "--seed", "4", "--threads",
               "3"});
      EXPECT_EQ(read_bytes(stem + ".tmp"), tmp);
      // The tests of an earlier run find its sample and function by name.
      fs::remove(stem + ".sup");
      const std::string tmp_name = stem + ".tmp";
      r = run({"significance", tmp_name.c_str(), "--significance", "1"});
      EXPECT_EQ(r.code, 0) << r.err;
      EXPECT_EQ(read_bytes(stem + ".sup"), sup);
    }
  }
  EXPECT_FALSE(fs::exists("b.tmp"));
  dir.write("qlor.ini", "NULL=shift\n");
  EXPECT_TRUE(run({"settings"}).said("Null model :\t\ttoroidal shift"));
  fs::remove("qlor.ini");
  // Refused: one species, or an intensity beside.
  Result r = run({"single", "p.dat", "--yes", "--null", "labels"});
  EXPECT_EQ(r.code, 2);
  EXPECT_TRUE(r.said("needs a bivariate file")) << r.err;
  r = run(
      {"single", "b.dat", "--yes", "--null", "shift", "--intensity", "kernel"});
  EXPECT_EQ(r.code, 2);
  EXPECT_TRUE(r.said("do not take --intensity")) << r.err;
  EXPECT_FALSE(fs::exists("p_labels.tmp"));
}

// The observed column of a result file: per line, the value after the
// third blank.
std::vector<std::string> observed_column(const std::string& text) {
  std::vector<std::string> column;
  std::istringstream lines(text);
  std::string t, upper, lower, observed;
  while (lines >> t >> upper >> lower >> observed) column.push_back(observed);
  return column;
}

TEST_F(CliTest, PairsWithinOneSpeciesAreThatSpeciesAlone) {
  const char* points[] = {"1 1",  "5 5",    "9.5 3", "12 17",
                          "3 14", "17.5 8", "6 11",  "15 2"};
  std::string bivariate = "20 20 1 1 5 19\n";
  std::string species2 = "20 20 1 1 5 19\n";
  for (int i = 0; i < 8; ++i) {
    bivariate += std::string(points[i]) + (i % 2 ? " 1\n" : " 0\n");
    if (i % 2) species2 += std::string(points[i]) + "\n";
  }
  dir.write("b.dat", bivariate);
  dir.write("s.dat", species2);
  for (const char* function : {"L", "g", "O"}) {
    SCOPED_TRACE(function);
    const std::string f = function;
    const std::string stem = "b_" + (f == "L" ? std::string("L") : f) + "22";
    Result r = run({"single", "b.dat", "--yes", "--pairs", "22", "--function",
                    function, "--randomize", "2", "--significance", "1",
                    "--seed", "3"});
    ASSERT_EQ(r.code, 0) << r.err;
    r = run(
        {"single", "s.dat", "--yes", "--function", function, "--seed", "3"});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::string alone = f == "L" ? "s.ktt" : "s_" + f + ".ktt";
    EXPECT_EQ(observed_column(read_bytes(stem + ".ktt")),
              observed_column(read_bytes(alone)));
    // The tests of the earlier run, O's CSR value n2 / A included.
    const std::string sup = read_bytes(stem + ".sup");
    fs::remove(stem + ".sup");
    const std::string tmp_name = stem + ".tmp";
    r = run({"significance", tmp_name.c_str(), "--significance", "1"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(read_bytes(stem + ".sup"), sup);
  }
  // With a null model beside: both suffixes.
  Result r = run({"single", "b.dat", "--yes", "--pairs", "11", "--null",
                  "labels", "--function", "g", "--seed", "3"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(fs::exists("b_g11_labels.ktt"));
  // Refused: one species, a direction, species 1 kept in place.
  struct Case {
    std::vector<const char*> args;
    const char* says;
  };
  const Case cases[] = {
      {{"single", "p.dat", "--yes", "--pairs", "11", "--randomize", "2"},
       "needs a bivariate file"},
      {{"single", "b.dat", "--yes", "--pairs", "22", "--direction", "1"},
       "over all directions"},
      {{"single", "b.dat", "--yes", "--pairs", "11"}, "keeps its place"},
      {{"single", "b.dat", "--yes", "--pairs", "11", "--null", "shift"},
       "keeps its place"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.says);
    r = run(c.args);
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.said(c.says)) << r.err;
  }
  dir.write("qlor.ini", "PAIRS=22\n");
  EXPECT_TRUE(run({"settings"}).said("Pairs :\t\t\twithin species 2"));
}

TEST_F(CliTest, SavedPatternsAreThoseTheRunAnalysed) {
  dir.write("b.dat",
            "20 20 1 1 5 19\n1 1 0\n5 5 1\n9.5 3 0\n12 17 1\n3 14 0\n"
            "17.5 8 1\n6 11 1\n15 2 0\n");
  Result r = run({"single", "b.dat", "--yes", "--null", "shift", "--seed", "9",
                  "--threads", "1", "--save-patterns", "saved.csv"});
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string saved = read_bytes("saved.csv");
  r = run({"single", "b.dat", "--yes", "--null", "shift", "--seed", "9",
           "--threads", "3", "--save-patterns", "again.csv"});
  EXPECT_EQ(read_bytes("again.csv"), saved);

  // Every saved pattern, estimated again, gives its row of the temporary
  // file.
  AnalysisState state;
  ASSERT_EQ(
      read_run_sample("b.dat", FunctionKind::kO, Significance::kNone, state),
      "");
  ASSERT_EQ(complete_run_state(state, Direction::kNone), "");
  std::istringstream rows(saved);
  std::string line;
  std::getline(rows, line);
  EXPECT_EQ(line, "pattern,x,y,species");
  TmpFileReader tmp;
  ASSERT_TRUE(tmp.open("b_shift.tmp"));
  std::vector<double> row(static_cast<std::size_t>(state.last_interval) + 1);
  ASSERT_TRUE(tmp.read_block(row));  // the observed pattern
  const auto function = make_summary_function(FunctionChoice{});
  PairScratch scratch;
  for (int s = 1; s <= 19; ++s) {
    for (PointRecord& p : state.points) {
      ASSERT_TRUE(std::getline(rows, line));
      std::istringstream fields(line);
      std::string pattern, x, y, species;
      std::getline(fields, pattern, ',');
      std::getline(fields, x, ',');
      std::getline(fields, y, ',');
      std::getline(fields, species);
      ASSERT_EQ(pattern, std::to_string(s));
      p = {std::stod(x), std::stod(y), std::stoi(species)};
    }
    PatternValues values;
    ASSERT_TRUE(function->estimate(state, scratch, values).ok());
    ASSERT_TRUE(tmp.read_block(row));
    for (std::size_t i = 0; i < row.size(); ++i) {
      EXPECT_EQ(as_written(values[0][i]), row[i]) << s << " " << i;
    }
  }
  EXPECT_FALSE(std::getline(rows, line));
  // Batches are refused; the sample file is never written over.
  dir.write("list.bat", "b.dat\n");
  EXPECT_EQ(run({"auto", "list.bat", "--save-patterns", "x.csv"}).code, 2);
  const std::string sample = read_bytes("b.dat");
  EXPECT_EQ(run({"single", "b.dat", "--yes", "--save-patterns", "b.dat"}).code,
            1);
  EXPECT_EQ(read_bytes("b.dat"), sample);
}

TEST_F(CliTest, DerivedNamesKeepDotsInFoldersAndStems) {
  const std::string sample = read_bytes("p.dat");
  fs::create_directory("run1.2");
  dir.write("run1.2/a1.dat", sample);
  dir.write("st0.7.dat", sample);
  dir.write("st0.99.dat", sample);
  for (const char* file : {"run1.2/a1.dat", "st0.7.dat", "st0.99.dat"}) {
    const Result r =
        run({"single", file, "--yes", "--seed", "1", "--significance", "1"});
    EXPECT_EQ(r.code, 0) << r.err;
  }
  for (const char* file : {"run1.2/a1.tmp", "run1.2/a1.ktt", "run1.2/a1.sup",
                           "st0.7.ktt", "st0.99.ktt", "st0.7.sup"}) {
    EXPECT_TRUE(fs::exists(file)) << file;
  }
  EXPECT_FALSE(fs::exists("run1.ktt"));
  EXPECT_FALSE(fs::exists("st0.ktt"));
  // The earlier run's tests find their sample by the same rule.
  fs::remove("st0.7.sup");
  EXPECT_EQ(run({"significance", "st0.7.tmp", "--significance", "1"}).code, 0);
  EXPECT_TRUE(fs::exists("st0.7.sup"));
}

}  // namespace
}  // namespace qlor
