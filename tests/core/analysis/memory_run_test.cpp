// A run in memory gives what a run of a sample file with the same numbers
// writes: the same curves, result files and tests, byte for byte.
#include "analysis/memory_run.h"

#include <gtest/gtest.h>

#include "analysis/single_run.h"
#include "input/sample_header.h"
#include "results/number_format.h"
#include "results/significance_tests.h"
#include "scripted_platform.h"
#include "temp_dir.h"

namespace qlor {
namespace {

using testing::read_bytes;

struct Case {
  const char* what;
  ProcessType process;
  bool bivariate;
  FunctionKind function;
  Direction direction;
};

RunParameters parameters_of(const Case& c) {
  RunParameters p;
  p.x_axis = 30;
  p.y_axis = 20;
  p.t_min = 0.5;
  p.t_interval = 0.5;
  p.t_max = 6;
  p.n_simulations = 19;
  p.process_type = c.process;
  p.analysis_type =
      c.bivariate ? AnalysisType::kBivariate : AnalysisType::kUnivariate;
  p.radius = 1.5;
  p.c = c.process == ProcessType::kInhibition ? 0 : 0.4;
  p.n_centers = 4;
  return p;
}

std::vector<PointRecord> points_of(const Case& c) {
  std::vector<PointRecord> points;
  for (int i = 0; i < 60; ++i) {
    points.push_back({(i * 37 % 290) / 10.0, (i * 53 % 190) / 10.0 + 0.25,
                      c.bivariate ? (i % 3 == 0 ? 0 : 1) : 0});
  }
  return points;
}

TEST(MemoryRun, GivesTheFilesOfTheSameRunFromAFile) {
  const Case cases[] = {
      {"CSR, L", ProcessType::kCsr, false, FunctionKind::kL, Direction::kNone},
      {"SSI, g", ProcessType::kInhibition, false, FunctionKind::kG,
       Direction::kNone},
      {"bivariate cluster, O", ProcessType::kCluster, true, FunctionKind::kO,
       Direction::kNone},
      {"bivariate CSR, sectors", ProcessType::kCsr, true, FunctionKind::kL,
       Direction::kCardinal},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    testing::ScriptedPlatform platform;
    const FixedClock clock(1733840000);
    AppContext ctx(platform, clock);
    ctx.settings.function = c.function;
    set_direction(ctx.settings, c.direction);
    ctx.settings.threads = 2;

    MemoryRun run;
    ASSERT_EQ(run_in_memory(ctx, parameters_of(c), points_of(c), run), "");
    ASSERT_EQ(run.curves.size(), run.suffixes.size());
    EXPECT_EQ(run.seed.seed, 1733840000u);

    // The same numbers as a file, run as the console runs it.
    testing::TempDir dir;
    ViewState view;
    view.input_path =
        dir.write("p.dat", sample_text(parameters_of(c), points_of(c)));
    ctx.settings.significance_index = c.direction == Direction::kNone
                                          ? Significance::kBoth
                                          : Significance::kNone;
    ASSERT_TRUE(run_single_file(ctx, view).complete);
    for (std::size_t k = 0; k < run.suffixes.size(); ++k) {
      const std::string stem = dir.file("p" + run.suffixes[k]);
      ASSERT_EQ(run.curves[k].size(), 20u);
      std::string text;
      ASSERT_EQ(memory_result_text(run, k, text), "");
      EXPECT_EQ(text, read_bytes(stem + ".ktt"));
      if (c.direction != Direction::kNone) continue;
      for (const auto& [kind, extension] :
           {std::pair{TestKind::kSupremum, ".sup"},
            std::pair{TestKind::kCramerVonMises, ".cvm"}}) {
        std::vector<double> statistics;
        ASSERT_EQ(
            memory_test_statistics(run, k, kind, TestCentre::kCsr, statistics),
            "");
        EXPECT_EQ(format_ranked_statistics(statistics),
                  read_bytes(stem + extension));
      }
    }
  }
}

TEST(MemoryRun, RefusesWhatTheFileWouldRefuse) {
  testing::ScriptedPlatform platform;
  const FixedClock clock(1);
  const AppContext ctx(platform, clock);
  const Case c{"CSR", ProcessType::kCsr, false, FunctionKind::kL,
               Direction::kNone};
  RunParameters p = parameters_of(c);
  p.n_simulations = 20;
  MemoryRun run;
  EXPECT_EQ(run_in_memory(ctx, p, points_of(c), run).text(),
            "Number of simulations must be 19, 99, or >=100  ");
  std::vector<PointRecord> outside = points_of(c);
  outside[3].x = 31;
  EXPECT_EQ(run_in_memory(ctx, parameters_of(c), outside, run).text(),
            "x-coordinate out of range: sample record 4  ");
}

// The embedding program's hooks: a check that stops the run after a pattern
// (an R interrupt), and the observed pattern alone at full precision.
TEST(MemoryRun, StopsWhenTheCheckSaysSoAndEstimatesTheObservedAlone) {
  testing::ScriptedPlatform platform;
  const FixedClock clock(5);
  AppContext ctx(platform, clock);
  ctx.settings.threads = 2;
  ctx.settings.null_model = NullKind::kLabels;
  const Case c{"bivariate", ProcessType::kCsr, true, FunctionKind::kL,
               Direction::kNone};
  MemoryRun run;
  MemoryRunOptions stop_after_three;
  std::vector<std::int32_t> seen;
  stop_after_three.check = [&](std::int32_t kept) -> Status {
    seen.push_back(kept);
    return kept == 3 ? Status("interrupted") : Status{};
  };
  EXPECT_EQ(
      run_in_memory(ctx, parameters_of(c), points_of(c), run, stop_after_three),
      "interrupted");
  EXPECT_EQ(seen, (std::vector<std::int32_t>{1, 2, 3}));
  EXPECT_EQ(run.curves[0].size(), 3u);

  MemoryRun full;
  ASSERT_EQ(run_in_memory(ctx, parameters_of(c), points_of(c), full), "");
  EXPECT_EQ(full.suffixes, std::vector<std::string>{"_labels"});
  MemoryRunOptions observed_only;
  observed_only.observed_only = true;
  MemoryRun alone;
  ASSERT_EQ(
      run_in_memory(ctx, parameters_of(c), points_of(c), alone, observed_only),
      "");
  ASSERT_EQ(alone.curves[0].size(), 1u);
  EXPECT_EQ(alone.curves[0][0], full.curves[0][0]);
  ASSERT_EQ(alone.observed_exact.size(), 1u);
  for (std::size_t i = 0; i < alone.t.size(); ++i) {
    EXPECT_EQ(as_written(alone.observed_exact[0][i]), alone.curves[0][0][i]);
  }

  // The envelopes as numbers are the result file's.
  ResultEnvelopes e;
  ASSERT_EQ(memory_envelopes(full, 0, e), "");
  std::string text;
  ASSERT_EQ(memory_result_text(full, 0, text), "");
  std::string again;
  for (std::size_t i = 0; i < e.t.size(); ++i) {
    for (const double v : {e.t[i], e.upper[i], e.lower[i]}) {
      append_g(again, v);
      again += ' ';
    }
    append_g(again, e.observed[i]);
    again += "\r\n";
  }
  EXPECT_EQ(again, text);
}

}  // namespace
}  // namespace qlor
