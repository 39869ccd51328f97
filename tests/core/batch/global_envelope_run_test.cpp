// The global envelope test on the temporary files of real runs: random,
// clustered and regular patterns against complete spatial randomness, and
// the temporary files it refuses.
#include "batch/global_envelope_run.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "analysis/single_run.h"
#include "scripted_platform.h"
#include "temp_dir.h"

namespace qlor {
namespace {

enum class Pattern { kRandom, kClustered, kRegular };

// 49 points in a 100 x 100 plot, one record per line.
std::string sample_file(Pattern pattern, unsigned seed) {
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> plot(0, 99.9);
  std::uniform_real_distribution<double> near(-3, 3);
  std::string text = "100 100 1 1 20 99\n";
  for (int i = 0; i < 49; ++i) {
    double x = plot(rng);
    double y = plot(rng);
    if (pattern == Pattern::kClustered) {  // seven tight groups
      x = 10 + (i % 7) * 12 + near(rng);
      y = 15 + (i % 7) * 11 + near(rng);
    } else if (pattern == Pattern::kRegular) {  // a jittered grid
      x = 7 + (i % 7) * 14 + near(rng) / 3;
      y = 7 + (i / 7) * 14 + near(rng) / 3;
    }
    char line[48];
    std::snprintf(line, sizeof line, "%.1f %.1f\n", x, y);
    text += line;
  }
  return text;
}

class GlobalEnvelopeRunTest : public ::testing::Test {
 protected:
  // Analyses `name`.dat and returns the curves of its temporary file.
  RunCurves analyse(const std::string& name, const std::string& sample) {
    testing::ScriptedPlatform p;
    AppContext x(p, clock);
    ViewState xv;
    xv.input_path = dir.write(name + ".dat", sample);
    EXPECT_TRUE(run_single_file(x, xv).complete);
    RunCurves run;
    EXPECT_EQ(read_run_curves(dir.file(name + ".tmp"), run), "");
    return run;
  }

  FixedClock clock{1700000000};
  testing::TempDir dir;
};

TEST_F(GlobalEnvelopeRunTest, OutsideExactlyWhenPAtMostAlphaOnRealRuns) {
  struct Case {
    const char* name;
    Pattern pattern;
    bool rejected;  // at alpha = 0.05
  };
  const Case cases[] = {
      {"random1", Pattern::kRandom, false},
      {"random2", Pattern::kRandom, false},
      {"clustered", Pattern::kClustered, true},
      {"regular", Pattern::kRegular, true},
  };
  unsigned seed = 7;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const RunCurves run = analyse(c.name, sample_file(c.pattern, ++seed));
    ASSERT_EQ(run.curves.size(), 100u);
    ASSERT_EQ(run.t.size(), 20u);
    EXPECT_EQ(run.t.front(), 1);
    EXPECT_EQ(run.sample_path, dir.file(std::string(c.name) + ".dat"));
    for (double alpha : {0.01, 0.05, 0.1, 0.3}) {
      SCOPED_TRACE(alpha);
      const GlobalEnvelope g = global_envelope(run.curves, alpha);
      const bool outside =
          !outside_ranges(g.lower, g.upper, run.curves[0]).empty();
      EXPECT_EQ(outside, g.p_value <= alpha) << "p = " << g.p_value;
      if (alpha == 0.05) {
        EXPECT_EQ(outside, c.rejected) << "p = " << g.p_value;
      }
    }
  }
}

TEST_F(GlobalEnvelopeRunTest, RefusesFilesAsTheSignificanceOnlyRunDoes) {
  const std::string sample = "20 20 1 1 5 19\n1 1\n5 5\n9.5 3\n12 17\n3 14\n";
  const RunCurves good = analyse("p", sample);
  ASSERT_EQ(good.curves.size(), 20u);
  const std::string tmp = testing::read_bytes(dir.file("p.tmp"));
  const char* const incomplete =
      "QLOR - Temporary file incomplete or unreadable !";
  struct Case {
    const char* name;
    std::string tmp;
    const char* message;
  };
  const Case cases[] = {
      {"short", tmp.substr(0, tmp.rfind('\n', tmp.size() - 2) + 1), incomplete},
      {"surplus", tmp + tmp.substr(0, tmp.size() / 20), incomplete},
      {"empty", "", incomplete},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    dir.write(std::string(c.name) + ".dat", sample);
    RunCurves run;
    EXPECT_EQ(
        read_run_curves(dir.write(std::string(c.name) + ".tmp", c.tmp), run),
        c.message);
  }
  RunCurves run;
  EXPECT_EQ(read_run_curves(dir.file("none.tmp"), run),
            "QLOR - File open error!");
  EXPECT_EQ(read_run_curves(dir.write("lonely.tmp", tmp), run),
            "QLOR - Corresponding DAT-File not found !");
  // One sector's file of a directional run takes the run's sample file.
  EXPECT_EQ(read_run_curves(dir.write("p_W4.tmp", tmp), run), "");
  EXPECT_EQ(run.sample_path, dir.file("p.dat"));
  EXPECT_EQ(run.curves, good.curves);
  dir.write("p.dat", "20 20 1 0 5 19\n1 1\n");  // a header fault
  EXPECT_EQ(read_run_curves(dir.file("p.tmp"), run),
            "Value of 't_interval' is out of range  ");
}

}  // namespace
}  // namespace qlor
