// The generator, the grid draw and complete spatial randomness.
#include "simulation/csr.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "model_run.h"
#include "simulation/classic_draws.h"

namespace qlor {
namespace {

TEST(LcgRandom, FollowsTheClassicRecurrence) {
  LcgRandom rng;
  rng.seed(1);
  EXPECT_EQ(rng.draw(), 41);
  EXPECT_EQ(rng.draw(), 18467);
  EXPECT_EQ(rng.draw(), 6334);
  // Above 32768 values, two draws: (41 * 32768 + 18467) mod 100000 = 61955.
  rng.seed(1);
  EXPECT_EQ(rng.draw_mod(100000), 61955);
  rng.seed(1);
  EXPECT_EQ(rng.draw_mod(32768), 41);  // one draw up to 32768
}

TEST(LcgRandom, SeedsWithClockPlusSquareIn32Bits) {
  EXPECT_EQ(classic_seed(4294967295u, 0), 4294967295u);
  EXPECT_EQ(classic_seed(4294967295u, 2), 3u);
  EXPECT_EQ(classic_seed(1700000001u, 65536), 1700000001u);  // s*s wraps
}

AnalysisState grid_state(double scale, int halves, int fifths) {
  AnalysisState s;
  s.x_axis = 10;
  s.y_axis = 10;
  s.grid_scale = scale;
  s.grid_halves = halves;
  s.grid_fifths = fifths;
  return s;
}

TEST(GridPoint, DrawsCellsThenSubPositions) {
  ClassicDraws draws(0);
  // Draws after seed 1: 41, 18467, 6334, 26500.
  struct Case {
    double scale;
    int halves, fifths;
    double x, y;
  };
  const Case cases[] = {
      {1, 0, 0, 41 % 10, 18467 % 10},
      {10, 1, 0, (10 * (41 % 100) + 5 * (6334 % 2)) / 100.0,
       (10 * (18467 % 100) + 5 * (26500 % 2)) / 100.0},
      {10, 0, 1, (10 * (41 % 100) + 2 * (6334 % 5)) / 100.0,
       (10 * (18467 % 100) + 2 * (26500 % 5)) / 100.0},
      {0.1, 0, 0, 0 / 0.1, 0 / 0.1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.scale);
    const AnalysisState s = grid_state(c.scale, c.halves, c.fifths);
    draws.start_pattern(1);  // seed 0 + 1 * 1
    draws.start_attempt();
    const int cells = plot_grid_cells(10, c.scale);
    const PointRecord p = grid_point(s, draws, cells, cells);
    EXPECT_EQ(p.x, c.x);
    EXPECT_EQ(p.y, c.y);
  }
}

AnalysisState bivariate_pattern() {
  AnalysisState s;
  s.x_axis = 20;
  s.y_axis = 20;
  s.analysis_type = AnalysisType::kBivariate;
  for (int i = 0; i < 30; ++i) {
    s.points.push_back({i * 0.5, i * 0.25, i % 3 == 0 ? 0 : 1});
  }
  s.n_points = 30;
  s.n_species1_observed = 10;
  s.n_species2_observed = 20;
  s.coordinate_resolution = 500;
  s.grid_scale = 1;
  s.grid_halves = 1;
  return s;
}

TEST(SimulateCsr, ModeOneKeepsSpeciesOneAndAvoidsIt) {
  for (const GeneratorKind generator : testing::kBothGenerators) {
    SCOPED_TRACE(generator_name(generator));
    AnalysisState s = bivariate_pattern();
    const auto observed = s.points;
    testing::ModelRun run(s, RandomizeMode::kSpecies2, {generator, 12345});
    for (int sim = 1; sim <= 5; ++sim) {
      ASSERT_EQ(run.simulate(s, sim), "");
      std::set<std::pair<double, double>> positions;
      for (std::size_t i = 0; i < s.points.size(); ++i) {
        const auto& p = s.points[i];
        EXPECT_EQ(p.species, observed[i].species);
        if (p.species == 0) {
          EXPECT_EQ(p.x, observed[i].x);
          EXPECT_EQ(p.y, observed[i].y);
        }
        EXPECT_TRUE(p.x >= 0 && p.x < 20 && p.y >= 0 && p.y < 20);
        EXPECT_EQ(std::fmod(p.x * 2, 1.0), 0.0);  // multiples of 0.5
        positions.insert({p.x, p.y});
      }
      EXPECT_EQ(positions.size(), s.points.size());  // no coincidences
    }
  }
}

TEST(SimulateCsr, ModeTwoKeepsTheObservedSpeciesCounts) {
  for (const GeneratorKind generator : testing::kBothGenerators) {
    SCOPED_TRACE(generator_name(generator));
    AnalysisState s = bivariate_pattern();
    testing::ModelRun run(s, RandomizeMode::kBothSpecies, {generator, 777});
    for (int sim = 1; sim <= 5; ++sim) {
      ASSERT_EQ(run.simulate(s, sim), "");
      int label0 = 0;
      for (const auto& p : s.points) label0 += p.species == 0;
      EXPECT_EQ(label0, 10);
      EXPECT_EQ(s.n_species1, 10);
      EXPECT_EQ(s.n_species2, 20);
    }
  }
}

TEST(SimulateCsr, SameSeedSamePatternOtherSeedOtherPattern) {
  for (const GeneratorKind generator : testing::kBothGenerators) {
    SCOPED_TRACE(generator_name(generator));
    const AnalysisState observed = bivariate_pattern();
    AnalysisState a = observed;
    AnalysisState b = observed;
    AnalysisState c = observed;
    testing::ModelRun run(observed, RandomizeMode::kBothSpecies,
                          {generator, 5});
    testing::ModelRun other(observed, RandomizeMode::kBothSpecies,
                            {generator, 6});
    ASSERT_EQ(run.simulate(a, 3), "");
    ASSERT_EQ(run.simulate(b, 3), "");
    ASSERT_EQ(other.simulate(c, 3), "");
    int same_as_other = 0;
    for (std::size_t i = 0; i < a.points.size(); ++i) {
      EXPECT_EQ(a.points[i].x, b.points[i].x);
      EXPECT_EQ(a.points[i].species, b.points[i].species);
      same_as_other += a.points[i].x == c.points[i].x;
    }
    EXPECT_LT(same_as_other, 10);
  }
}

TEST(SimulateCsr, FailsWhenTheGridCannotHoldThePoints) {
  for (const GeneratorKind generator : testing::kBothGenerators) {
    SCOPED_TRACE(generator_name(generator));
    AnalysisState s = bivariate_pattern();
    s.analysis_type = AnalysisType::kUnivariate;
    s.grid_halves = 0;
    s.grid_scale = 0.1;  // 2 x 2 cells for 30 points
    testing::ModelRun run(s, RandomizeMode::kSpecies2, {generator, 1});
    EXPECT_EQ(run.simulate(s, 1), kCsrFailure);
    s.x_axis = 5;  // no cell at all along x
    EXPECT_EQ(run.simulate(s, 1), kCsrFailure);
  }
}

}  // namespace
}  // namespace qlor
