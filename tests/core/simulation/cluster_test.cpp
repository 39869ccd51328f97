// The cluster process: Poisson table, offspring counts, centres kept for the
// run in mode 1, placement around the centres and the failure paths.
#include "simulation/cluster.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "model_run.h"
#include "simulation/acceptance.h"
#include "simulation/cluster_tables.h"
#include "simulation/poisson_table.h"

namespace qlor {
namespace {

TEST(PoissonTable, KeepsFiniteEntriesAndFallsBackInLogSpace) {
  struct Case {
    double mu;
    std::int32_t k;
    double want, tolerance;
  };
  const Case cases[] = {
      {2, 0, 0.1353352832, 1e-10},   // e^-2
      {2, 3, 0.1804470443, 1e-10},   // 8/6 e^-2
      {24, 10, 6.596018e-4, 1e-10},  // 24^10 / 10! e^-24
      {24, 171, 0.0, 0.0},           // finite power / infinite 171! = 0
      {200, 200, 0.0281977, 1e-6},   // 200^200 overflows: log space
      {0, 0, 1.0, 0.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "mu=" << c.mu << " k=" << c.k);
    std::vector<double> table(static_cast<std::size_t>(c.k) + 1, -1.0);
    fill_poisson_table(table, c.mu, c.k);
    EXPECT_NEAR(table.back(), c.want, c.tolerance);
  }
}

TEST(PoissonTable, EntriesBeyondTheDoubleRangeAreFiniteAndNeverKept) {
  // 500 points and 20 centres: mu = 24; from k = 224 on, 24^k and k! are
  // both infinite.
  std::vector<double> table(481);
  fill_poisson_table(table, 24, 480);
  for (std::size_t k = 0; k < table.size(); ++k) {
    SCOPED_TRACE(k);
    ASSERT_TRUE(std::isfinite(table[k]));
    if (k > 223) {
      EXPECT_EQ(acceptance_modulus(table[k]), 0);
    }
  }
  EXPECT_NEAR(table[224], 9.914776e-133, 1e-138);  // not the NaN of inf / inf
  // A mean of 300 still sums to one, every entry near the mode being a
  // log-space one.
  std::vector<double> large(1001);
  fill_poisson_table(large, 300, 1000);
  EXPECT_NEAR(std::accumulate(large.begin(), large.end(), 0.0), 1.0, 1e-9);
}

TEST(MakeClusterTables, SizesTheTablesForTheCentresOfTheRun) {
  struct Case {
    std::int32_t n_points, n_centers;
    std::size_t table, counts;
    std::string status;
  };
  const Case cases[] = {
      {5, 3, 3, 3, ""},  // n_points - n_centers + 1
      {5, 5, 1, 5, ""},
      {2000, 40, 1961, 40, ""},
      // More centres than points: no machine holds the table.
      {3, 5, 0, 0, "MAF:1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.n_points << " / " << c.n_centers);
    RunParameters parameters;
    parameters.n_points = c.n_points;
    parameters.n_centers = c.n_centers;
    ClusterTables tables;
    tables.n_parents = 7;  // left over from an earlier run
    EXPECT_EQ(make_cluster_tables(tables, parameters), c.status);
    EXPECT_EQ(tables.poisson_table.size(), c.table);
    EXPECT_EQ(tables.offspring_counts.size(), c.counts);
    EXPECT_EQ(tables.n_parents, 0);
  }
}

// 40 x 40 plot on the unit grid; `n` points, `m` centres.
AnalysisState cluster_plot(double radius, double c, int n, int m) {
  AnalysisState s;
  s.x_axis = 40;
  s.y_axis = 40;
  s.process_type = ProcessType::kCluster;
  s.radius = radius;
  s.c = c;
  s.n_centers = m;
  s.grid_scale = 1;
  s.points.assign(static_cast<std::size_t>(n), PointRecord{});
  s.n_points = n;
  EXPECT_EQ(make_cluster_tables(s, s), "");
  return s;
}

// Mode-1 pattern: every third point of species 1 (12 of 36), in file order
// at x = 3 * index.
AnalysisState bivariate_cluster_plot(double c, int m) {
  AnalysisState s = cluster_plot(4, c, 36, m);
  s.analysis_type = AnalysisType::kBivariate;
  for (int i = 0; i < 36; ++i) {
    s.points[static_cast<std::size_t>(i)] = {i + 2.0, 20, i % 3 == 0 ? 0 : 1};
  }
  s.n_species1_observed = 12;
  s.n_species2_observed = 24;
  return s;
}

// The centre of the offspring entry `entry`, from the counts.
std::size_t centre_of(const AnalysisState& s, std::size_t entry) {
  std::size_t first = static_cast<std::size_t>(s.n_parents);
  for (std::size_t i = 0; i < s.offspring_counts.size(); ++i) {
    first += static_cast<std::size_t>(s.offspring_counts[i]);
    if (entry < first) return i;
  }
  ADD_FAILURE() << "entry " << entry << " beyond the counts";
  return 0;
}

TEST(SimulateCluster, PlacesOffspringAroundTheirCentres) {
  struct Case {
    const char* what;
    double radius, c;
    int mode;  // 0 univariate
  };
  const Case cases[] = {
      {"displaced", 4, 0, 0},         {"displaced, mode 1", 4, 0, 1},
      {"displaced, mode 2", 4, 0, 2}, {"negative c", 8, -0.5, 0},
      {"c = 0.5, mode 1", 4, 0.5, 1}, {"c = 1, mode 2", 4, 1, 2},
  };
  for (const auto& c : cases) {
    for (const GeneratorKind generator : testing::kBothGenerators) {
      SCOPED_TRACE(::testing::Message()
                   << c.what << ", " << generator_name(generator));
      AnalysisState s = c.mode == 0 ? cluster_plot(c.radius, c.c, 36, 3)
                                    : bivariate_cluster_plot(c.c, 3);
      s.radius = c.radius;
      const std::int32_t mode = c.mode == 0 ? 1 : c.mode;
      const int parents = c.mode == 1 ? 12 : 3;
      const auto observed = s.points;
      testing::ModelRun run(s, static_cast<RandomizeMode>(mode),
                            {generator, 1700000041});
      ASSERT_EQ(run.prepared, "");
      for (int sim = 1; sim <= 3; ++sim) {
        ASSERT_EQ(run.simulate(s, sim), "");
        ASSERT_EQ(s.n_parents, parents);
        EXPECT_EQ(std::accumulate(s.offspring_counts.begin(),
                                  s.offspring_counts.end(), 0),
                  36 - parents);
        for (std::size_t i = static_cast<std::size_t>(parents); i < 36; ++i) {
          const PointRecord& p = s.points[i];
          const PointRecord& centre = s.points[centre_of(s, i)];
          EXPECT_TRUE(p.x >= 0 && p.x <= 40 && p.y >= 0 && p.y <= 40);
          if (c.c == 0) {  // within the open square of half-side radius
            EXPECT_LT(std::fabs(p.x - centre.x), c.radius);
            EXPECT_LT(std::fabs(p.y - centre.y), c.radius);
          }
          if (c.c < 0) {
            const double dx = p.x - centre.x;
            const double dy = p.y - centre.y;
            EXPECT_LE(std::sqrt(dx * dx + dy * dy), c.radius);
          }
          for (std::size_t j = 0; j < i; ++j) {
            EXPECT_FALSE(p.x == s.points[j].x && p.y == s.points[j].y);
          }
        }
        // Labels are never drawn: every entry keeps its own (mode 2), and in
        // mode 1 the sort puts species 1 first.
        for (std::size_t i = 0; i < 36; ++i) {
          if (c.mode == 1) {
            EXPECT_EQ(s.points[i].species, i < 12 ? 0 : 1);
          } else {
            EXPECT_EQ(s.points[i].species, observed[i].species);
          }
        }
      }
    }
  }
}

TEST(SimulateCluster, ModeOneKeepsSpeciesOneAndTheSameCentres) {
  // Selection seeded with the clock time 1: draws 41, 18467, 6334, 26500,
  // 19169, 15724, 11478, 29358, 26962, 24464, 5705. Records 0, 1 and 4 are
  // marked by the odd draws; the walk then passes marked records without a
  // draw, and 5705 marks record 3 on the third round.
  struct Case {
    int n_species1, m;
    std::vector<double> centre_x;  // x of the centres, in order
  };
  const Case cases[] = {
      {5, 4, {2, 5, 11, 14}},
      {12, 3, {2, 5, 14}},
      {12, 12, {2, 5, 8, 11, 14, 17, 20, 23, 26, 29, 32, 35}},  // no selection
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.n_species1 << " / " << c.m);
    AnalysisState s = bivariate_cluster_plot(0, c.m);
    // Only the first n_species1 of the every-third points keep label 0.
    int label0 = 0;
    for (auto& p : s.points) {
      if (p.species == 0 && ++label0 > c.n_species1) p.species = 1;
    }
    s.n_species1_observed = c.n_species1;
    s.n_species2_observed = 36 - c.n_species1;
    std::vector<PointRecord> species1;
    for (const auto& p : s.points) {
      if (p.species == 0) species1.push_back(p);
    }
    testing::ModelRun run(s, RandomizeMode::kSpecies2,
                          {GeneratorKind::kClassic, 1});
    ASSERT_EQ(run.prepared, "");
    for (int sim = 1; sim <= 4; ++sim) {
      ASSERT_EQ(run.simulate(s, sim), "");
      ASSERT_EQ(s.n_parents, c.n_species1);
      for (std::size_t i = 0; i < c.centre_x.size(); ++i) {
        EXPECT_EQ(s.points[i].x, c.centre_x[i]);
        EXPECT_EQ(s.points[i].y, 20);
      }
      // The species-1 points that are not centres follow, unmoved.
      for (const auto& p : species1) {
        bool found = false;
        for (std::size_t i = 0; i < species1.size(); ++i) {
          found = found || (s.points[i].x == p.x && s.points[i].y == p.y);
        }
        EXPECT_TRUE(found) << p.x;
      }
    }
  }
}

TEST(SimulateCluster, PatternDependsOnlyOnThePreparedRunAndS) {
  for (const int mode : {1, 2}) {
    for (const GeneratorKind generator : testing::kBothGenerators) {
      SCOPED_TRACE(::testing::Message()
                   << mode << ", " << generator_name(generator));
      const AnalysisState observed = bivariate_cluster_plot(0.4, 3);
      testing::ModelRun run(observed, static_cast<RandomizeMode>(mode),
                            {generator, 1700000051});
      ASSERT_EQ(run.prepared, "");
      AnalysisState in_order = observed;
      AnalysisState skipped = observed;
      ASSERT_EQ(run.simulate(in_order, 1), "");
      ASSERT_EQ(run.simulate(in_order, 2), "");
      ASSERT_EQ(run.simulate(skipped, 3), "");
      ASSERT_EQ(run.simulate(skipped, 2), "");
      for (std::size_t i = 0; i < 36; ++i) {
        EXPECT_EQ(in_order.points[i].x, skipped.points[i].x);
        EXPECT_EQ(in_order.points[i].y, skipped.points[i].y);
        EXPECT_EQ(in_order.points[i].species, skipped.points[i].species);
      }
    }
  }
}

TEST(SimulateCluster, FailsWhenThePatternCannotBeMade) {
  struct Case {
    const char* what;
    double radius, c, scale;
    int n, m;
  };
  const Case cases[] = {
      {"radius below one grid cell", 0.5, 0, 1, 36, 3},
      {"no plot cell for scattered offspring", 4, 0.5, 0.01, 36, 3},
      // 0.1 grid: 4 x 4 positions for 20 parents.
      {"parents that cannot all be placed", 4, 0.5, 0.1, 36, 20},
      // One offset cell: every candidate lands on its own centre.
      {"offspring that never fit", 1.5, 0, 1, 36, 3},
  };
  for (const auto& c : cases) {
    for (const GeneratorKind generator : testing::kBothGenerators) {
      SCOPED_TRACE(::testing::Message()
                   << c.what << ", " << generator_name(generator));
      AnalysisState s = cluster_plot(c.radius, c.c, c.n, c.m);
      s.grid_scale = c.scale;
      testing::ModelRun run(s, RandomizeMode::kSpecies2, {generator, 77});
      EXPECT_EQ(run.simulate(s, 1), kClusterFailure);
    }
  }
}

}  // namespace
}  // namespace qlor
