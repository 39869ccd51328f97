// Interrupted runs and --resume: a run stopped after any pattern, or killed
// in the middle of writing one, and then resumed, writes the bytes of the
// run that was never interrupted; a resume that does not match its run
// record is refused without touching anything.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/pattern_executor.h"
#include "cli/cli_app.h"
#include "cli_fixture.h"
#include "platform/stop_signal.h"
#include "results/whole_file.h"
#include "temp_dir.h"

namespace qlor {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;
using Result = testing::CliResult;

// The worker threads, with a stop signal arriving while pattern
// `stop_after` is being written.
class StoppingExecutor final : public PatternExecutor {
 public:
  explicit StoppingExecutor(std::int32_t stop_after)
      : stop_after_(stop_after) {}
  [[nodiscard]] Status run(const AnalysisState& observed,
                           const NullModel& model,
                           const SummaryFunction& function, std::int32_t first,
                           std::int32_t last, const SimulationEnv& env,
                           int threads,
                           const PatternConsumer& consume) override {
    return default_executor().run(
        observed, model, function, first, last, env, threads,
        [&](std::int32_t s, const PatternValues& values) {
          if (s == stop_after_) request_stop(SIGTERM);
          return consume(s, values);
        });
  }

 private:
  std::int32_t stop_after_;
};

class ResumeTest : public testing::CliFixture {
 protected:
  void TearDown() override {
    request_stop(0);
    CliFixture::TearDown();
  }
  Result run_with(PatternExecutor* executor, std::vector<const char*> args) {
    args.insert(args.begin(), "qlor");
    std::istringstream in;
    std::ostringstream out, err;
    CliEnvironment environment;
    environment.executor = executor;
    const int code = run_cli(static_cast<int>(args.size()), args.data(), in,
                             out, err, environment);
    request_stop(0);
    return {code, out.str(), err.str()};
  }
};

const char* const kUnivariate =
    "20 20 1 1 5 19\n1 1\n5 5\n9.5 3\n12 17\n3 14\n17.5 8\n2.25 9\n14 4.5\n";
const char* const kBivariate =
    "20 20 1 1 5 19\n1 1 0\n5 5 1\n9.5 3 0\n12 17 1\n3 14 0\n17.5 8 1\n"
    "2.25 9 0\n14 4.5 1\n";

struct Kind {
  const char* name;
  const char* sample;
  std::vector<const char*> options;
  const char* stem;  // of the run's files
};

const Kind kKinds[] = {
    {"univariate L", kUnivariate, {}, "p"},
    {"bivariate L", kBivariate, {"--randomize", "2"}, "p"},
    {"pair correlation", kUnivariate, {"--function", "g"}, "p_g"},
};

std::vector<const char*> single_args(const Kind& kind,
                                     std::vector<const char*> more = {}) {
  std::vector<const char*> args{"single", "p.dat",  "--yes", "--significance",
                                "both",   "--seed", "99"};
  args.insert(args.end(), kind.options.begin(), kind.options.end());
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

std::vector<std::string> run_outputs(const std::string& stem) {
  std::vector<std::string> bytes;
  for (const char* ext : {".tmp", ".ktt", ".sup", ".cvm", ".run"}) {
    bytes.push_back(read_bytes(stem + ext));
  }
  return bytes;
}

TEST_F(ResumeTest, AStoppedRunResumesToTheBytesOfAnUninterruptedOne) {
  for (const Kind& kind : kKinds) {
    SCOPED_TRACE(kind.name);
    dir.write("p.dat", kind.sample);
    ASSERT_EQ(run_with(nullptr, single_args(kind)).code, 0);
    const std::vector<std::string> whole = run_outputs(kind.stem);
    for (const std::int32_t stop_after : {0, 1, 7, 18}) {
      SCOPED_TRACE(stop_after);
      for (const char* ext : {".tmp", ".ktt", ".sup", ".cvm", ".run"}) {
        fs::remove(std::string(kind.stem) + ext);
      }
      StoppingExecutor stopping(stop_after);
      const Result stopped = run_with(&stopping, single_args(kind));
      EXPECT_EQ(stopped.code, 128 + SIGTERM);
      EXPECT_TRUE(stopped.said("interrupted after " +
                               std::to_string(stop_after) +
                               " of 19 patterns: run again with --resume"))
          << stopped.out << stopped.err;
      EXPECT_FALSE(fs::exists(std::string(kind.stem) + ".ktt"));
      // Without --seed the resumed run takes the recorded one.
      std::vector<const char*> again{"single",         "p.dat", "--yes",
                                     "--significance", "both",  "--resume"};
      again.insert(again.end(), kind.options.begin(), kind.options.end());
      const Result resumed = run_with(nullptr, again);
      ASSERT_EQ(resumed.code, 0) << resumed.out << resumed.err;
      EXPECT_TRUE(resumed.said("seed 99"));
      EXPECT_EQ(run_outputs(kind.stem), whole);
    }
  }
}

// Saved patterns of a resumed run: all of them, as the uninterrupted run
// saved them (each is made again from its own stream).
TEST_F(ResumeTest, AResumedRunSavesEveryPattern) {
  const Kind& kind = kKinds[1];
  dir.write("p.dat", kind.sample);
  ASSERT_EQ(
      run_with(nullptr, single_args(kind, {"--save-patterns", "s.csv"})).code,
      0);
  const std::string whole = read_bytes("s.csv");
  StoppingExecutor stopping(6);
  ASSERT_EQ(
      run_with(&stopping, single_args(kind, {"--save-patterns", "s.csv"})).code,
      128 + SIGTERM);
  EXPECT_EQ(read_bytes("s.csv"), whole);  // the earlier file, untouched
  fs::remove("s.csv");
  ASSERT_EQ(run_with(nullptr, single_args(kind, {"--save-patterns", "s.csv",
                                                 "--resume"}))
                .code,
            0);
  EXPECT_EQ(read_bytes("s.csv"), whole);
}

// A kill can cut the temporary file anywhere: the cut-off pattern is made
// again.
TEST_F(ResumeTest, AKillInTheMiddleOfAPatternLosesOnlyThatPattern) {
  const Kind& kind = kKinds[0];
  dir.write("p.dat", kind.sample);
  ASSERT_EQ(run_with(nullptr, single_args(kind)).code, 0);
  const std::vector<std::string> whole = run_outputs("p");
  const std::string tmp = whole[0];
  for (const std::size_t cut :
       {std::size_t{0}, std::size_t{1}, std::size_t{7}, tmp.size() / 3,
        tmp.size() / 2 + 5, tmp.size() - 1, tmp.size()}) {
    SCOPED_TRACE(cut);
    dir.write("p.tmp", tmp.substr(0, cut));
    fs::remove("p.ktt");
    const Result resumed = run_with(nullptr, single_args(kind, {"--resume"}));
    ASSERT_EQ(resumed.code, 0) << resumed.out << resumed.err;
    EXPECT_EQ(run_outputs("p"), whole);
  }
}

// A directional run writes four temporary files, one after the other for
// each pattern: a kill between them leaves them at different patterns, and
// the resumed run goes on from the fewest.
TEST_F(ResumeTest, TheSectorFilesGoOnFromTheirFewestPatterns) {
  dir.write("p.dat", kBivariate);
  const std::vector<const char*> args{
      "single", "p.dat", "--yes", "--seed", "4", "--direction", "cardinal"};
  ASSERT_EQ(run_with(nullptr, args).code, 0);
  const char* sectors[] = {"p_W4", "p_N4", "p_E4", "p_S4"};
  std::vector<std::string> whole;
  for (const char* stem : sectors) {
    for (const char* ext : {".tmp", ".ktt"}) {
      whole.push_back(read_bytes(std::string(stem) + ext));
    }
  }
  const std::size_t keep[] = {7, 4, 5, 3};  // in twentieths of each file
  for (std::size_t k = 0; k < 4; ++k) {
    const std::string tmp = whole[2 * k];
    dir.write(std::string(sectors[k]) + ".tmp",
              tmp.substr(0, tmp.size() * keep[k] / 20 + k));
    fs::remove(std::string(sectors[k]) + ".ktt");
  }
  std::vector<const char*> again = args;
  again.push_back("--resume");
  ASSERT_EQ(run_with(nullptr, again).code, 0);
  std::vector<std::string> resumed;
  for (const char* stem : sectors) {
    for (const char* ext : {".tmp", ".ktt"}) {
      resumed.push_back(read_bytes(std::string(stem) + ext));
    }
  }
  EXPECT_EQ(resumed, whole);
}

TEST_F(ResumeTest, ARecordThatDoesNotMatchIsRefusedAndNothingChanges) {
  const Kind& kind = kKinds[0];
  dir.write("p.dat", kind.sample);
  StoppingExecutor stopping(5);
  ASSERT_EQ(run_with(&stopping, single_args(kind)).code, 128 + SIGTERM);
  const std::string tmp = read_bytes("p.tmp");
  const std::string record = read_bytes("p.run");
  struct Case {
    const char* name;
    std::string sample;
    std::string tmp;
    std::vector<const char*> more;
    const char* said;
  };
  const std::string other_points =
      std::string(kind.sample).substr(0, std::string(kind.sample).size() - 9) +
      "14 4.25\n";
  const Case cases[] = {
      {"another file content", other_points, tmp, {}, "checksum: crc32:"},
      {"another seed",
       kind.sample,
       tmp,
       {"--seed", "7"},
       "seed: 99 recorded, 7 now"},
      {"another generator",
       kind.sample,
       tmp,
       {"--generator", "classic"},
       "generator: philox recorded, classic now"},
      {"a damaged line",
       kind.sample,
       tmp.substr(0, 40) + "x" + tmp.substr(41),
       {},
       "p.tmp, line"},
      {"a damaged tail",
       kind.sample,
       tmp + "1 0.5\r\n2 abc\r\n",
       {},
       "p.tmp, line"},
      {"more patterns than the run",
       kind.sample,
       tmp + tmp + tmp + tmp,
       {},
       "more than the run's 20"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dir.write("p.dat", c.sample);
    dir.write("p.tmp", c.tmp);
    dir.write("p.run", record);
    std::vector<const char*> args{"single", "p.dat", "--yes", "--resume"};
    args.insert(args.end(), c.more.begin(), c.more.end());
    const Result r = run_with(nullptr, args);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.said("Cannot resume")) << r.out << r.err;
    EXPECT_TRUE(r.said(c.said)) << r.out << r.err;
    EXPECT_EQ(read_bytes("p.tmp"), c.tmp);
    EXPECT_EQ(read_bytes("p.run"), record);
    EXPECT_FALSE(fs::exists("p.ktt"));
  }
  // A temporary file without its record cannot be vouched for.
  dir.write("p.dat", kind.sample);
  fs::remove("p.run");
  const Result r = run_with(nullptr, single_args(kind, {"--resume"}));
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(r.said("has no run record")) << r.out << r.err;
}

// A batch resumes each entry: the complete ones give their files again,
// the interrupted one goes on, the ones not begun start.
TEST_F(ResumeTest, ABatchGoesOnFromItsInterruptedEntry) {
  dir.write("a.dat", kUnivariate);
  dir.write("b.dat", kBivariate);
  dir.write("c.dat", kUnivariate);
  dir.write("list.bat", "a.dat\nb.dat\nc.dat\n");
  ASSERT_EQ(run_with(nullptr, {"auto", "list.bat", "--seed", "5"}).code, 0);
  std::vector<std::string> whole;
  for (const char* f : {"a.ktt", "b.ktt", "c.ktt", "b.tmp", "c.tmp"}) {
    whole.push_back(read_bytes(f));
  }
  for (const char* f : {"a.ktt", "b.ktt", "c.ktt", "b.tmp", "c.tmp", "c.run"}) {
    fs::remove(f);
  }
  // b stopped after 3 patterns; c never began.
  dir.write("b.tmp", whole[3].substr(0, whole[3].size() * 4 / 20 + 3));
  const Result r =
      run_with(nullptr, {"auto", "list.bat", "--resume", "--seed", "5"});
  ASSERT_EQ(r.code, 0) << r.out << r.err;
  std::vector<std::string> again;
  for (const char* f : {"a.ktt", "b.ktt", "c.ktt", "b.tmp", "c.tmp"}) {
    again.push_back(read_bytes(f));
  }
  EXPECT_EQ(again, whole);
}

}  // namespace
}  // namespace qlor

namespace qlor {
namespace {

// Every kind of result file is written whole: when its write fails (a
// full disk), the earlier file of that name stays as it was and no part of
// the new one is left behind.
TEST_F(ResumeTest, EveryResultKindKeepsTheEarlierFileWhenItsWriteFails) {
  dir.write("p.dat", kUnivariate);
  dir.write("t.csv", "x,y\n1,1\n2,2\n");
  ASSERT_EQ(run_with(nullptr, {"single", "p.dat", "--yes", "--seed", "3",
                               "--significance", "both"})
                .code,
            0);
  struct Case {
    const char* file;
    std::vector<const char*> args;
  };
  // The result file last: the others read it.
  const std::vector<Case> cases = {
      {"p.sup", {"significance", "p.tmp", "--significance", "supremum"}},
      {"p.cvm", {"significance", "p.tmp", "--significance", "cvm"}},
      {"p_global.csv", {"global", "p.tmp"}},
      {"e.csv", {"export", "p.ktt", "-o", "e.csv"}},
      {"s.csv",
       {"single", "p.dat", "--yes", "--seed", "3", "--save-patterns", "s.csv"}},
      {"i.dat",
       {"import", "t.csv", "--x", "x", "--y", "y", "--plot", "5x5", "--t",
        "1:1:2", "--simulations", "19", "-o", "i.dat", "--force"}},
#ifdef QLOR_WITH_PLOT
      {"p.svg", {"plot", "p.ktt"}},
#endif
      {"p.ktt", {"single", "p.dat", "--yes", "--seed", "3"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    dir.write(c.file, "earlier\n");
    const std::string tmp = read_bytes("p.tmp");
    inject_write_failure(c.file, ENOSPC);
    const Result r = run_with(nullptr, c.args);
    inject_write_failure({}, 0);
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.said(std::string(c.file) + " (No space left on device)"))
        << r.out << r.err;
    EXPECT_EQ(read_bytes(c.file), "earlier\n");
    EXPECT_FALSE(fs::exists(std::string(c.file) + kPartialSuffix));
    // The run's patterns are kept for the next attempt.
    EXPECT_EQ(read_bytes("p.tmp"), tmp);
  }
}

}  // namespace
}  // namespace qlor
