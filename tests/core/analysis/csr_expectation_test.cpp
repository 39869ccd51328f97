// The envelopes' reference: simulated CSR patterns must have the K of CSR.
// For n uniform points the isotropic estimator with the n^2 normalisation
// has the expectation (n - 1) / n * pi * t^2 exactly, for t up to half the
// shorter side. The mean of many simulations must lie within a few standard
// errors of it at every distance; the classic generator's favoured cells on
// a plot recorded to 0.01 put it dozens of standard errors above.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>

#include "analysis/pattern_run.h"
#include "scripted_platform.h"
#include "simulation/null_model.h"
#include "statistics/estimate.h"
#include "temp_dir.h"

namespace qlor {
namespace {

// 500 points in 100 x 100 at 0.01 (10 000 grid cells per axis), t = 1 .. 25.
AnalysisState read_plot(const testing::TempDir& dir) {
  std::ostringstream file;
  file << "100 100 1 1 25 999\n";
  for (int i = 0; i < 500; ++i) {
    file << (i * 37 % 9973) / 100.0 << ' ' << (i * 91 % 9967) / 100.0 << '\n';
  }
  testing::ScriptedPlatform platform;
  const FixedClock clock(0);
  const AppContext ctx(platform, clock);
  AnalysisState state;
  ProgressCounters counters;
  EXPECT_TRUE(
      read_sample_file(ctx, dir.write("p.dat", file.str()), state, counters)
          .ok());
  EXPECT_EQ(state.grid_scale, 100);
  EXPECT_TRUE(allocate_result_arrays(state, Direction::kNone).ok());
  return state;
}

// The largest distance, in standard errors of the mean, between the mean K
// of `patterns` simulations and its expectation.
double largest_departure(GeneratorKind generator, int patterns) {
  testing::TempDir dir;
  const AnalysisState observed = read_plot(dir);
  const SimulationEnv env{{generator, 1733840000}, RandomizeMode::kSpecies2};
  std::unique_ptr<NullModel> model;
  EXPECT_TRUE(make_null_model(observed, env, model).ok());
  const auto draws = make_pattern_draws(env.seed);
  AnalysisState state = observed;
  PairScratch scratch;
  const std::size_t distances = state.pair_sums.size();
  std::vector<double> sum(distances, 0.0);
  std::vector<double> sum_squares(distances, 0.0);
  const double n = state.n_points;
  for (std::int32_t s = 1; s <= patterns; ++s) {
    draws->start_pattern(s);
    EXPECT_TRUE(model->simulate(state, *draws).ok());
    compute_kl(state, scratch);
    for (std::size_t i = 0; i < distances; ++i) {
      const double k = 100.0 * 100.0 * state.pair_sums[i] / (n * n);
      sum[i] += k;
      sum_squares[i] += k * k;
    }
  }
  double largest = 0;
  for (std::size_t i = 0; i < distances; ++i) {
    const double t = state.t_of(static_cast<std::int32_t>(i));
    const double mean = sum[i] / patterns;
    const double variance =
        (sum_squares[i] - patterns * mean * mean) / (patterns - 1);
    const double expected = (n - 1) / n * std::numbers::pi * t * t;
    largest = std::max(
        largest, std::fabs(mean - expected) / std::sqrt(variance / patterns));
  }
  return largest;
}

TEST(CsrExpectation, MeanKOfTheSimulationsIsTheExpectationAtEveryDistance) {
  EXPECT_LT(largest_departure(GeneratorKind::kPhilox, 999), 4);
  EXPECT_GT(largest_departure(GeneratorKind::kClassic, 199), 8);
}

}  // namespace
}  // namespace qlor
