// The job and outcome encodings that travel between ranks. The golden cases
// run with an executor that sends every job through the encoding and makes
// the patterns from what comes out, so a field the encoding forgets, or a
// header that loses the seed or the randomisation, changes a golden file.
#include "distributed/job_codec.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "analysis/app_context.h"
#include "analysis/pattern_executor.h"
#include "analysis/single_run.h"
#include "golden_compare.h"
#include "scripted_platform.h"
#include "temp_dir.h"

namespace qlor::distributed {
namespace {

namespace fs = std::filesystem;

// Makes every run's patterns from the decoded job, as a remote rank does:
// with a model of its own, prepared from the decoded state.
class LoopbackExecutor final : public PatternExecutor {
 public:
  Status run(const AnalysisState& observed, const NullModel&,
             const SummaryFunction& function, std::int32_t first,
             std::int32_t last, const SimulationEnv& env, int threads,
             const PatternConsumer& consume) override {
    const JobHeader header =
        make_job_header(first, last, env, function, threads);
    const Bytes bytes = encode_job(header, observed);
    JobHeader got;
    AnalysisState decoded;
    EXPECT_TRUE(decode_job(bytes, got, decoded));
    ++jobs;
    const SimulationEnv remote_env{got.seed, got.randomize_mode};
    std::unique_ptr<NullModel> model;
    if (Status s = make_null_model(decoded, remote_env, model); !s.ok()) {
      return s;
    }
    const auto remote_function = make_summary_function(got.function);
    // Every outcome travels through its encoding too.
    return run_simulations(
        decoded, *model, *remote_function, got.first, got.last, remote_env,
        got.threads, [&](std::int32_t s, const PatternValues& values) {
          std::int32_t s_back = -1;
          PatternOutcome back;
          EXPECT_TRUE(
              decode_outcome(encode_outcome(s, {"", values}), s_back, back));
          EXPECT_EQ(s_back, s);
          return consume(s, back.values);
        });
  }
  int jobs = 0;
};

using testing::golden_dir;
using testing::GoldenCase;

class ThroughTheEncoding : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(ThroughTheEncoding, ReproducesEveryGoldenFile) {
  const GoldenCase& gc = GetParam();
  const fs::path case_dir = golden_dir() / gc.name;
  testing::TempDir work;
  fs::copy_file(case_dir / (gc.name + ".dat"),
                work.path() / (gc.name + ".dat"));
  testing::ScriptedPlatform platform;
  FixedClock clock(gc.seed);
  AppContext ctx(platform, clock);
  ViewState view;
  LoopbackExecutor loopback;
  ctx.executor = &loopback;
  testing::apply_case_settings(gc, ctx.settings);
  ctx.settings.threads = 2;
  view.input_path = work.file(gc.name + ".dat");
  const bool complete = run_single_file(ctx, view).complete;
  EXPECT_EQ(complete, !fs::exists(case_dir / "message.txt"));
  testing::expect_same_outputs(case_dir, work.path());
}

INSTANTIATE_TEST_SUITE_P(Golden, ThroughTheEncoding,
                         ::testing::ValuesIn(testing::load_golden_cases()),
                         [](const auto& param_info) {
                           return param_info.param.name;
                         });

AnalysisState small_state() {
  AnalysisState s;
  s.x_axis = 100;
  s.y_axis = 50;
  s.t_interval = 1;
  s.t_min_steps = 1;
  s.last_interval = 4;
  s.n_simulations = 19;
  s.analysis_type = AnalysisType::kBivariate;
  s.process_type = ProcessType::kCluster;
  s.n_centers = 1;
  s.points = {{1.5, 2.5, 0}, {3.25, 4.0, 1}, {7.0, 1.0, 1}};
  s.n_points = 3;
  return s;
}

// Only the parameters and the points travel: the receiving rank derives
// the rest as the first rank's reading did. Bytes from another build or cut
// short in transit are refused, never read past their end.
TEST(JobCodec, CarriesTheRunAndRefusesEveryTruncationAndAForeignMagic) {
  JobHeader header;
  header.first = 2;
  header.last = 19;
  header.seed = {GeneratorKind::kClassic, 4000000000u};
  header.function = {FunctionKind::kG, Direction::kNone, PcfEstimator::kRing,
                     0.75};
  header.null_kind = NullKind::kShift;
  header.function.pairs = PairSet::k22;
  const Bytes bytes = encode_job(header, small_state());
  JobHeader got;
  AnalysisState state;
  ASSERT_TRUE(decode_job(bytes, got, state));
  EXPECT_EQ(got.null_kind, NullKind::kShift);
  EXPECT_EQ(got.function.pairs, PairSet::k22);
  EXPECT_EQ(got.seed.generator, GeneratorKind::kClassic);
  EXPECT_EQ(got.seed.seed, 4000000000u);
  EXPECT_EQ(got.function.kind, FunctionKind::kG);
  EXPECT_EQ(got.function.estimator, PcfEstimator::kRing);
  EXPECT_EQ(got.function.bandwidth, 0.75);
  ASSERT_EQ(state.points.size(), 3u);
  EXPECT_EQ(state.points[1].y, 4.0);
  EXPECT_EQ(state.n_species1_observed, 1);
  EXPECT_EQ(state.n_species2_observed, 2);
  EXPECT_EQ(state.coordinate_resolution, 50);  // 1.5, 3.25, 7: 0.05
  EXPECT_EQ(state.grid_scale, 10);
  EXPECT_EQ(state.grid_halves, 1);
  EXPECT_EQ(state.poisson_table.size(), 3u);  // n - m + 1
  EXPECT_EQ(state.l_values.size(), 5u);
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    AnalysisState s;
    EXPECT_FALSE(decode_job(std::span(bytes.data(), n), got, s)) << n;
  }
  Bytes longer = bytes;
  longer.push_back(0);
  EXPECT_FALSE(decode_job(longer, got, state));
  Bytes foreign = bytes;
  foreign[0] ^= 1;
  EXPECT_FALSE(decode_job(foreign, got, state));
  // An outcome is not a job.
  EXPECT_FALSE(decode_job(encode_outcome(1, {}), got, state));
}

// An inhomogeneous run's intensity travels whole: the kernel's sigma, or the
// grid file's cells, so that every rank weighs and simulates alike.
TEST(JobCodec, CarriesTheIntensity) {
  auto grid = std::make_shared<IntensityGrid>();
  grid->x0 = 2.5;
  grid->y0 = 1.25;
  grid->dx = 5;
  grid->dy = 2.5;
  grid->nx = 2;
  grid->ny = 4;
  grid->values = {std::vector<double>(8, 0.5), std::vector<double>(8, 2.0)};
  grid->values[1][7] = 3.75;
  JobHeader header;
  header.function.kind = FunctionKind::kGinhom;
  header.function.intensity.source = IntensitySource::kFile;
  header.function.intensity.path = "habitat.csv";
  header.function.intensity.grid = grid;
  const Bytes bytes = encode_job(header, small_state());
  JobHeader got;
  AnalysisState state;
  ASSERT_TRUE(decode_job(bytes, got, state));
  const Intensity& intensity = got.function.intensity;
  EXPECT_EQ(got.function.kind, FunctionKind::kGinhom);
  EXPECT_EQ(intensity.source, IntensitySource::kFile);
  EXPECT_EQ(intensity.path, "habitat.csv");
  ASSERT_NE(intensity.grid, nullptr);
  EXPECT_EQ(intensity.grid->ny, 4);
  EXPECT_EQ(intensity.grid->dy, 2.5);
  EXPECT_EQ(intensity.grid->values, grid->values);
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    AnalysisState s;
    EXPECT_FALSE(decode_job(std::span(bytes.data(), n), got, s)) << n;
  }

  header.function.intensity = {IntensitySource::kKernel, 12.5, nullptr, ""};
  ASSERT_TRUE(decode_job(encode_job(header, small_state()), got, state));
  EXPECT_EQ(got.function.intensity.source, IntensitySource::kKernel);
  EXPECT_EQ(got.function.intensity.sigma, 12.5);
  EXPECT_EQ(got.function.intensity.grid, nullptr);
}

TEST(OutcomeCodec, CarriesFailuresAndSectorValues) {
  struct Case {
    std::int32_t s;
    PatternOutcome outcome;
  };
  const std::vector<Case> cases = {
      {5, {"QLOR - simulation failed  ", {}}},
      {0, {"", {{0.5, -1e-300, 1e300}}}},
      {99, {"", {{1}, {2, 3}, {}, {4}}}},
  };
  for (const Case& c : cases) {
    const Bytes bytes = encode_outcome(c.s, c.outcome);
    std::int32_t s = -1;
    PatternOutcome got;
    ASSERT_TRUE(decode_outcome(bytes, s, got)) << c.s;
    EXPECT_EQ(s, c.s);
    EXPECT_EQ(got.status, c.outcome.status);
    EXPECT_EQ(got.values, c.outcome.values);
    for (std::size_t n = 0; n < bytes.size(); ++n) {
      EXPECT_FALSE(decode_outcome(std::span(bytes.data(), n), s, got));
    }
  }
  // More than four blocks is no pattern.
  const Bytes five = encode_outcome(1, {"", {{}, {}, {}, {}, {}}});
  std::int32_t s = 0;
  PatternOutcome got;
  EXPECT_FALSE(decode_outcome(five, s, got));
}

}  // namespace
}  // namespace qlor::distributed
