// Random labelling and the toroidal shift: what each keeps, what each moves,
// and random labelling's mean K12 against the mean over every labelling.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "model_run.h"
#include "statistics/kl_estimator.h"

namespace qlor {
namespace {

// A bivariate pattern of n points in a 10 x 8 plot, the first n1 species 1,
// analysed at t = 1 .. 4.
AnalysisState bivariate_pattern(int n, int n1) {
  AnalysisState s;
  s.x_axis = 10;
  s.y_axis = 8;
  s.t_interval = 1;
  s.t_min_steps = 1;
  s.last_interval = 3;
  s.analysis_type = AnalysisType::kBivariate;
  s.n_points = n;
  for (int i = 0; i < n; ++i) {
    s.points.push_back({0.5 + (i * 37 % 95) / 10.0, 0.5 + (i * 53 % 70) / 10.0,
                        i < n1 ? 0 : 1});
  }
  s.n_species1 = s.n_species1_observed = n1;
  s.n_species2 = s.n_species2_observed = n - n1;
  EXPECT_EQ(allocate_result_arrays(s, Direction::kNone), "");
  return s;
}

RunSeed seed_of(GeneratorKind g) { return {g, 11}; }

TEST(RandomLabelling, KeepsThePositionsAndTheCounts) {
  const AnalysisState observed = bivariate_pattern(30, 12);
  for (const GeneratorKind generator : testing::kBothGenerators) {
    SimulationEnv env{seed_of(generator)};
    env.null_kind = NullKind::kLabels;
    std::unique_ptr<NullModel> model;
    ASSERT_TRUE(make_null_model(observed, env, model).ok());
    const auto draws = make_pattern_draws(env.seed);
    AnalysisState state = observed;
    bool relabelled = false;
    for (std::int32_t s = 1; s <= 20; ++s) {
      draws->start_pattern(s);
      ASSERT_TRUE(model->simulate(state, *draws).ok());
      int species1 = 0;
      for (std::size_t i = 0; i < state.points.size(); ++i) {
        EXPECT_EQ(state.points[i].x, observed.points[i].x);
        EXPECT_EQ(state.points[i].y, observed.points[i].y);
        species1 += state.points[i].species == 0 ? 1 : 0;
        relabelled |= state.points[i].species != observed.points[i].species;
      }
      EXPECT_EQ(species1, 12);
      EXPECT_EQ(state.n_species1, 12);
    }
    EXPECT_TRUE(relabelled);
  }
}

TEST(ToroidalShift, KeepsSpeciesOneAndMovesSpeciesTwoByOneVector) {
  const AnalysisState observed = bivariate_pattern(30, 12);
  SimulationEnv env{seed_of(GeneratorKind::kPhilox)};
  env.null_kind = NullKind::kShift;
  std::unique_ptr<NullModel> model;
  ASSERT_TRUE(make_null_model(observed, env, model).ok());
  const auto draws = make_pattern_draws(env.seed);
  AnalysisState state = observed;
  for (std::int32_t s = 1; s <= 20; ++s) {
    draws->start_pattern(s);
    ASSERT_TRUE(model->simulate(state, *draws).ok());
    // The vector from the first point of species 2; every other one moved
    // by it, modulo the plot.
    const double dx = state.points[12].x - observed.points[12].x;
    const double dy = state.points[12].y - observed.points[12].y;
    for (std::size_t i = 0; i < state.points.size(); ++i) {
      const PointRecord& p = state.points[i];
      const PointRecord& o = observed.points[i];
      ASSERT_TRUE(p.x >= 0 && p.x < 10 && p.y >= 0 && p.y < 8);
      if (o.species == 0) {
        EXPECT_EQ(p.x, o.x);
        EXPECT_EQ(p.y, o.y);
        continue;
      }
      const double mx = std::fmod(p.x - o.x - dx + 20, 10.0);
      const double my = std::fmod(p.y - o.y - dy + 16, 8.0);
      EXPECT_NEAR(std::min(mx, 10 - mx), 0, 1e-12) << i;
      EXPECT_NEAR(std::min(my, 8 - my), 0, 1e-12) << i;
    }
  }
}

TEST(RandomLabelling, MeanK12IsTheMeanOverEveryLabelling) {
  // Eight points, three of species 1: all 56 labellings enumerated.
  const AnalysisState observed = bivariate_pattern(8, 3);
  const std::size_t at = 2;  // t = 3
  double exact = 0;
  int labellings = 0;
  for (unsigned mask = 0; mask < 256; ++mask) {
    if (__builtin_popcount(mask) != 3) continue;
    AnalysisState state = observed;
    for (int i = 0; i < 8; ++i)
      state.points[i].species = (mask >> i) & 1 ? 0 : 1;
    compute_kl(state);
    exact += state.k12[at];
    ++labellings;
  }
  exact /= labellings;

  SimulationEnv env{seed_of(GeneratorKind::kPhilox)};
  env.null_kind = NullKind::kLabels;
  std::unique_ptr<NullModel> model;
  ASSERT_TRUE(make_null_model(observed, env, model).ok());
  const auto draws = make_pattern_draws(env.seed);
  AnalysisState state = observed;
  const int n = 20000;
  double sum = 0;
  double squares = 0;
  for (std::int32_t s = 1; s <= n; ++s) {
    draws->start_pattern(s);
    ASSERT_TRUE(model->simulate(state, *draws).ok());
    compute_kl(state);
    sum += state.k12[at];
    squares += state.k12[at] * state.k12[at];
  }
  const double mean = sum / n;
  const double error = std::sqrt((squares / n - mean * mean) / n);
  EXPECT_GT(error, 0);
  EXPECT_NEAR(mean, exact, 4 * error);
}

}  // namespace
}  // namespace qlor
