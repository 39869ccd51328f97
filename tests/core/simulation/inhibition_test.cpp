// SSI and Strauss placement, the acceptance draw and the close-neighbour
// count behind them.
#include "simulation/inhibition.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model_run.h"
#include "simulation/acceptance.h"
#include "simulation/neighbour_grid.h"

namespace qlor {
namespace {

double distance(const PointRecord& a, const PointRecord& b) {
  const double dx = a.x - b.x;
  const double dy = a.y - b.y;
  return std::sqrt(dx * dx + dy * dy);
}

TEST(AcceptanceModulus, TruncatesTheInverseProbabilityPlusOneHalf) {
  struct Case {
    double p;
    std::int32_t want;
  };
  const Case cases[] = {
      {0.125, 8},           // c = 0.5 with 3 close points
      {1.0, 1},             // c = 1: every position kept, one draw spent
      {0.3, 3},             // 3.833 truncated
      {0.2 * 0.2, 25},      // 25.5 truncated
      {0.7, 1},             // 1.93 truncated
      {5e-10, 2000000000},  // still inside 32 bits
      {4e-10, 0},           // 2.5e9: refused, no draw
      {1e-15, 0},           // at the smallest probability: refused
      {0.0, 0},
      {-0.5, 0},  // a negative base refuses
      {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.p);
    EXPECT_EQ(acceptance_modulus(c.p), c.want);
  }
}

TEST(DrawAcceptance, DrawsOnlyWhenThereIsAModulus) {
  // The first draw after seed 1 is 41: 41 mod 1 = 0, 41 mod 8 = 1,
  // 41 mod 41 = 0.
  struct Case {
    double p;
    bool kept, drew;
  };
  const Case cases[] = {
      {1.0, true, true},     {0.125, false, true},  {1.0 / 41, true, true},
      {1e-16, false, false}, {1e-12, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.p);
    LcgRandom rng;
    rng.seed(1);
    EXPECT_EQ(draw_acceptance(c.p, rng), c.kept);
    EXPECT_EQ(rng.state() != 1u, c.drew);
  }
}

TEST(NeighbourGrid, CountsLikeAScanOfEveryPoint) {
  struct Case {
    double x_axis, y_axis, radius;
  };
  const Case cases[] = {
      {10, 10, 1},    {10, 10, 1.5},  {10, 10, 2.5}, {10, 10, 0.5},
      {10, 10, 30},   {10, 10, 1e-3}, {10, 10, 0},   {10, 10, -1},
      {40, 2.5, 0.7}, {10, 10, 0.1},  // 0.1 * k is rarely exact
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.radius);
    // Points on a 0.1 lattice, so that many pairs lie exactly at the radius.
    LcgRandom rng;
    rng.seed(7);
    std::vector<PointRecord> points;
    NeighbourGrid grid;
    grid.reset(c.x_axis, c.y_axis, c.radius, 200);
    for (int i = 0; i < 200; ++i) {
      const PointRecord p{(rng.draw() % static_cast<int>(c.x_axis * 10)) / 10.0,
                          (rng.draw() % static_cast<int>(c.y_axis * 10)) / 10.0,
                          0};
      std::int32_t want = 0;
      for (const auto& q : points) want += distance(p, q) < c.radius;
      ASSERT_EQ(grid.count_close(p, 1000), want) << p.x << " " << p.y;
      EXPECT_EQ(grid.count_close(p, 1), want > 0 ? 1 : 0);
      grid.insert(p);
      points.push_back(p);
    }
  }
}

AnalysisState univariate_plot(double radius, double c, double scale) {
  AnalysisState s;
  s.x_axis = 20;
  s.y_axis = 20;
  s.process_type = ProcessType::kInhibition;
  s.radius = radius;
  s.c = c;
  s.grid_scale = scale;
  s.points.assign(40, PointRecord{});
  s.n_points = 40;
  return s;
}

// The classic placement of a univariate pattern as a plain scan over the
// points placed before: coincidence, then the close points, then the draw.
std::vector<PointRecord> place_by_scan(AnalysisState s, std::uint32_t seed) {
  LcgRandom rng;
  const int cells_x = plot_grid_cells(s.x_axis, s.grid_scale);
  const int cells_y = plot_grid_cells(s.y_axis, s.grid_scale);
  auto draw_point = [&] {
    PointRecord p;
    if (s.grid_halves == 1) {
      const int a = rng.draw() % cells_x;
      const int b = rng.draw() % cells_y;
      const int dx = (rng.draw() % 2) * 5;
      const int dy = (rng.draw() % 2) * 5;
      p.x = (10 * a + dx) / (10 * s.grid_scale);
      p.y = (10 * b + dy) / (10 * s.grid_scale);
    } else {
      p.x = (rng.draw() % cells_x) / s.grid_scale;
      p.y = (rng.draw() % cells_y) / s.grid_scale;
    }
    return p;
  };
  const std::int64_t max_tries = 100 * s.n_points;
  for (int attempt = 0; attempt < 20; ++attempt) {
    rng.seed(seed);
    std::vector<PointRecord> placed;
    std::int64_t tries = 1;
    for (; placed.size() < s.points.size() && tries <= max_tries; ++tries) {
      const PointRecord p = draw_point();
      bool kept = true;
      int k = 0;
      for (const auto& q : placed) kept = kept && !(p.x == q.x && p.y == q.y);
      for (const auto& q : placed) {
        if (kept && distance(p, q) < s.radius) {
          if (s.c == 0) kept = false;
          ++k;
        }
      }
      if (kept && k > 0) {
        const double pk = std::pow(s.c, k);
        const auto m = static_cast<std::int64_t>(1 / pk + 0.5);
        kept = pk > 1e-15 && m <= 2147483647 && rng.draw() % m == 0;
      }
      if (kept) placed.push_back(p);
    }
    if (tries <= max_tries) return placed;
  }
  return {};
}

TEST(SimulateInhibition, DrawsAndDecidesLikeTheScan) {
  struct Case {
    double radius, c, scale;
    int halves;
  };
  // Integer radii on the unit grid give pairs at exactly the radius, which
  // do not inhibit; c = 1 keeps every position but still draws.
  const Case cases[] = {
      {2.5, 0.5, 1, 0},    {1, 0.2, 10, 0}, {1.5, 0, 10, 1},  {3, 1, 1, 0},
      {0.05, 0.5, 100, 0}, {0, 0, 1, 0},    {15, 0.9, 10, 0}, {2, 0, 1, 0},
  };
  const std::uint32_t seed = 1700000031;
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.radius << " c=" << c.c);
    AnalysisState s = univariate_plot(c.radius, c.c, c.scale);
    s.grid_halves = c.halves;
    testing::ModelRun run(s, RandomizeMode::kSpecies2,
                          {GeneratorKind::kClassic, seed});
    for (int sim = 1; sim <= 3; ++sim) {
      const auto want = place_by_scan(s, classic_seed(seed, sim));
      ASSERT_EQ(want.size(), 40u);
      ASSERT_EQ(run.simulate(s, sim), "");
      for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(s.points[i].x, want[i].x);
        EXPECT_EQ(s.points[i].y, want[i].y);
      }
    }
  }
}

TEST(SimulateInhibition, FailsWhenThePointsCannotBePlaced) {
  struct Case {
    const char* what;
    double x_axis, radius, scale;
  };
  const Case cases[] = {
      // 100 points in 10 x 10: packing bound 1.0746, random placement jams
      // long before.
      {"radius near the packing bound", 10, 1.05, 100},
      {"no grid cell along x", 9, 0.5, 0.1},
  };
  for (const auto& c : cases) {
    for (const GeneratorKind generator : testing::kBothGenerators) {
      SCOPED_TRACE(::testing::Message()
                   << c.what << ", " << generator_name(generator));
      AnalysisState s;
      s.process_type = ProcessType::kInhibition;
      s.x_axis = c.x_axis;
      s.y_axis = 10;
      s.radius = c.radius;
      s.grid_scale = c.scale;
      s.points.assign(100, PointRecord{});
      s.n_points = 100;
      testing::ModelRun run(s, RandomizeMode::kSpecies2, {generator, 5});
      EXPECT_EQ(run.simulate(s, 1), kSsiFailure);
    }
  }
}

AnalysisState bivariate_plot(double c) {
  AnalysisState s = univariate_plot(2, c, 10);
  s.analysis_type = AnalysisType::kBivariate;
  for (int i = 0; i < 40; ++i) {
    s.points[static_cast<std::size_t>(i)] = {
        (i % 7) * 2.5 + 1, (i / 7) * 3.0 + 1, i % 4 == 0 ? 0 : 1};
  }
  s.n_species1_observed = 10;
  s.n_species2_observed = 30;
  return s;
}

TEST(SimulateInhibition, ModeOneMovesOnlySpeciesTwo) {
  for (const double c : {0.0, 0.3}) {
    for (const GeneratorKind generator : testing::kBothGenerators) {
      SCOPED_TRACE(::testing::Message()
                   << c << ", " << generator_name(generator));
      AnalysisState s = bivariate_plot(c);
      const auto observed = s.points;
      testing::ModelRun run(s, RandomizeMode::kSpecies2, {generator, 1234});
      for (int sim = 1; sim <= 4; ++sim) {
        ASSERT_EQ(run.simulate(s, sim), "");
        for (std::size_t i = 0; i < s.points.size(); ++i) {
          ASSERT_EQ(s.points[i].species, observed[i].species);
          if (observed[i].species == 0) {
            EXPECT_EQ(s.points[i].x, observed[i].x);
            EXPECT_EQ(s.points[i].y, observed[i].y);
            continue;
          }
          // Every fixed point belongs to the comparison set, later ones too.
          for (const auto& q : observed) {
            if (q.species != 0) continue;
            EXPECT_FALSE(s.points[i].x == q.x && s.points[i].y == q.y);
            if (c == 0) {
              EXPECT_GE(distance(s.points[i], q), s.radius);
            }
          }
        }
      }
    }
  }
}

TEST(SimulateInhibition, ModeTwoKeepsTheSpeciesCounts) {
  for (const double c : {0.0, 0.6}) {
    for (const GeneratorKind generator : testing::kBothGenerators) {
      SCOPED_TRACE(::testing::Message()
                   << c << ", " << generator_name(generator));
      AnalysisState s = bivariate_plot(c);
      testing::ModelRun run(s, RandomizeMode::kBothSpecies, {generator, 4321});
      for (int sim = 1; sim <= 4; ++sim) {
        ASSERT_EQ(run.simulate(s, sim), "");
        int label0 = 0;
        for (const auto& p : s.points) label0 += p.species == 0;
        EXPECT_EQ(label0, 10);
        EXPECT_EQ(s.n_species1, 10);
        EXPECT_EQ(s.n_species2, 30);
      }
    }
  }
}

}  // namespace
}  // namespace qlor
