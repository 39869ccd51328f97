// The laws of the draws the null models rest on, by goodness-of-fit tests
// with fixed seeds: the default generator passes every one, and the classic
// generator fails wherever it is biased. Every threshold lies far out in
// the tail (about five standard deviations), so the outcome does not hang on
// the seed.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <vector>

#include "chi_square.h"
#include "simulation/pattern_draws.h"

namespace qlor {
namespace {

using testing::chi_square_z;
using testing::ChiSquare;
using testing::pearson;

// A goodness of fit five standard deviations out fails; the classic
// generator must fail where it is biased, and Philox must pass.
void expect_fit(GeneratorKind generator, bool classic_biased,
                const ChiSquare& x) {
  const double z = chi_square_z(x.statistic, x.df);
  if (generator == GeneratorKind::kClassic && classic_biased) {
    EXPECT_GT(z, 5) << x.statistic << " on " << x.df;
  } else {
    EXPECT_LT(z, 5) << x.statistic << " on " << x.df;
  }
}

std::unique_ptr<PatternDraws> draws_of(GeneratorKind generator) {
  auto draws = make_pattern_draws({generator, 1733840000});
  draws->start_pattern(1);
  draws->start_attempt();
  return draws;
}

TEST(DrawStatistics, EveryCellOfAnAxisEquallyLikely) {
  struct Case {
    std::int32_t cells;
    bool classic_biased;
  };
  // 10 000 cells: 32768 mod 10000 favours cells 0 .. 2767 by 4/3; 20 000:
  // cells 0 .. 12767 come up twice as often. Three cells and two-draw
  // remainders above 32768 are biased too little to see here.
  const Case cases[] = {
      {3, false}, {10000, true}, {20000, true}, {100000, false}};
  for (const auto& c : cases) {
    for (const GeneratorKind generator :
         {GeneratorKind::kPhilox, GeneratorKind::kClassic}) {
      SCOPED_TRACE(::testing::Message()
                   << c.cells << " cells, " << generator_name(generator));
      const auto draws = draws_of(generator);
      std::vector<double> counts(static_cast<std::size_t>(c.cells), 0.0);
      const std::int64_t n = std::max<std::int64_t>(300000, 10LL * c.cells);
      for (std::int64_t i = 0; i < n; ++i) {
        const std::int32_t k = draws->below(c.cells);
        ASSERT_TRUE(k >= 0 && k < c.cells) << k;
        counts[static_cast<std::size_t>(k)] += 1;
      }
      const std::vector<double> expected(counts.size(),
                                         static_cast<double>(n) / c.cells);
      expect_fit(generator, c.classic_biased, pearson(counts, expected));
    }
  }
}

TEST(DrawStatistics, AcceptsWithTheProbabilityAsked) {
  struct Case {
    double p;  // c^k of a Strauss position
    std::int64_t n;
    double classic_rate;  // 1 / trunc(1/p + 0.5), or 1/32768 below that
  };
  const Case cases[] = {
      {0.7, 200000, 1.0},             // c = 0.7, one close point
      {0.36, 200000, 1.0 / 3},        // c = 0.6, two
      {1e-6, 20000000, 1.0 / 32768},  // only the draw 0 of 0 .. 32767
  };
  for (const auto& c : cases) {
    for (const GeneratorKind generator :
         {GeneratorKind::kPhilox, GeneratorKind::kClassic}) {
      SCOPED_TRACE(::testing::Message()
                   << "p = " << c.p << ", " << generator_name(generator));
      const auto draws = draws_of(generator);
      std::int64_t kept = 0;
      for (std::int64_t i = 0; i < c.n; ++i) kept += draws->accept(c.p);
      const double n = static_cast<double>(c.n);
      const double z = (kept - n * c.p) / std::sqrt(n * c.p * (1 - c.p));
      if (generator == GeneratorKind::kClassic) {
        EXPECT_GT(std::fabs(z), 5) << kept;
        EXPECT_NEAR(kept / n, c.classic_rate,
                    6 * std::sqrt(c.classic_rate / n));
      } else {
        EXPECT_LT(std::fabs(z), 5) << kept;
      }
    }
  }
  // The edges: never below 0, always from 1 on.
  const auto draws = draws_of(GeneratorKind::kPhilox);
  for (int i = 0; i < 1000; ++i) {
    EXPECT_FALSE(draws->accept(0.0));
    EXPECT_FALSE(draws->accept(-0.5));
    EXPECT_FALSE(draws->accept(std::nan("")));
    EXPECT_TRUE(draws->accept(1.0));
  }
}

// The law of n_offspring offspring over m centres when each centre's count
// is Poisson and the counts must add up: binomial(n_offspring, 1/m) for each
// centre (the Poisson law of mean n_offspring / m conditioned on the sum).
TEST(DrawStatistics, OffspringCountsFollowTheConditionedPoissonLaw) {
  struct Case {
    std::int32_t n_offspring, centres, patterns;
  };
  // A mean of 1.5 per centre, where trunc(1/P(k) + 0.5) distorts P(0) most
  // (1/4 in place of 0.223), and a mean of 5.
  const Case cases[] = {{60, 40, 1000}, {200, 40, 2000}};
  for (const auto& c : cases) {
    for (const GeneratorKind generator :
         {GeneratorKind::kPhilox, GeneratorKind::kClassic}) {
      SCOPED_TRACE(::testing::Message()
                   << c.n_offspring << " offspring of " << c.centres
                   << " centres, " << generator_name(generator));
      auto draws = make_pattern_draws({generator, 1733840000});
      std::vector<std::int32_t> counts(static_cast<std::size_t>(c.centres));
      std::vector<double> table(static_cast<std::size_t>(c.n_offspring) + 1);
      std::vector<double> histogram(table.size(), 0.0);
      for (std::int32_t s = 1; s <= c.patterns; ++s) {
        draws->start_pattern(s);
        draws->start_attempt();
        ASSERT_TRUE(draws->offspring_counts(counts, c.n_offspring, table));
        ASSERT_EQ(std::accumulate(counts.begin(), counts.end(), 0),
                  c.n_offspring);
        for (const std::int32_t k : counts) {
          histogram[static_cast<std::size_t>(k)] += 1;
        }
      }
      // Binomial probabilities, by the recurrence from k = 0.
      const double p = 1.0 / c.centres;
      std::vector<double> expected(histogram.size());
      double pk = std::pow(1 - p, c.n_offspring);
      const double samples = static_cast<double>(c.patterns) * c.centres;
      for (std::size_t k = 0; k < expected.size(); ++k) {
        expected[k] = samples * pk;
        pk *=
            static_cast<double>(c.n_offspring - static_cast<std::int32_t>(k)) /
            static_cast<double>(k + 1) * p / (1 - p);
      }
      expect_fit(generator, true, pearson(histogram, expected));
    }
  }
}

// Random labelling of a bivariate pattern: every point equally likely to be
// of species 1, whatever its place in the order of placement.
TEST(DrawStatistics, LabelsAreAUniformlyRandomAssignment) {
  constexpr int kPoints = 40;
  constexpr int kSpecies1 = 8;
  constexpr int kPatterns = 20000;
  for (const GeneratorKind generator :
       {GeneratorKind::kPhilox, GeneratorKind::kClassic}) {
    SCOPED_TRACE(generator_name(generator));
    auto draws = make_pattern_draws({generator, 1733840000});
    std::vector<double> species1_at(kPoints, 0.0);
    for (std::int32_t s = 1; s <= kPatterns; ++s) {
      draws->start_pattern(s);
      draws->start_attempt();
      int short1 = kSpecies1;
      int short2 = kPoints - kSpecies1;
      for (int i = 0; i < kPoints; ++i) {
        const std::int32_t label = draws->label(short1, short2);
        species1_at[static_cast<std::size_t>(i)] += label == 0;
        --(label == 0 ? short1 : short2);
      }
      ASSERT_EQ(short1, 0);
      ASSERT_EQ(short2, 0);
    }
    const std::vector<double> expected(
        kPoints, static_cast<double>(kPatterns) * kSpecies1 / kPoints);
    // The classic coin labels the first points species 1 half the time.
    expect_fit(generator, true, pearson(species1_at, expected));
  }
}

// A displaced offspring's offset along an axis: every lattice step in the
// open interval (-radius, radius) equally likely, 0 included.
TEST(DrawStatistics, EveryOffsetOfTheSquareEquallyLikely) {
  struct Case {
    const char* lattice;
    double scale;
    int halves, fifths;
  };
  const Case cases[] = {
      {"unit cells", 1, 0, 0}, {"halves", 1, 1, 0}, {"fifths", 10, 0, 1}};
  constexpr std::int32_t kCells = 3;
  constexpr int kDraws = 60000;
  for (const auto& c : cases) {
    for (const GeneratorKind generator :
         {GeneratorKind::kPhilox, GeneratorKind::kClassic}) {
      SCOPED_TRACE(::testing::Message()
                   << c.lattice << ", " << generator_name(generator));
      SimulationLattice lattice;
      lattice.grid_scale = c.scale;
      lattice.grid_halves = c.halves;
      lattice.grid_fifths = c.fifths;
      const int per_cell = c.halves ? 2 : c.fifths ? 5 : 1;
      const int steps = kCells * per_cell;
      const double step = 1.0 / (c.scale * per_cell);
      std::vector<double> at(static_cast<std::size_t>(2 * steps - 1), 0.0);
      const auto draws = draws_of(generator);
      for (int i = 0; i < kDraws; ++i) {
        const PointRecord offset = draws->offset(lattice, kCells);
        for (const double v : {offset.x, offset.y}) {
          const double k = v / step;
          ASSERT_NEAR(k, std::round(k), 1e-9) << v;
          ASSERT_LT(std::fabs(k), steps) << v;
          at[static_cast<std::size_t>(std::lround(k) + steps - 1)] += 1;
        }
      }
      const std::vector<double> expected(at.size(),
                                         2.0 * kDraws / (2 * steps - 1));
      // The classic sign draw counts the zero offset twice.
      expect_fit(generator, true, pearson(at, expected));
    }
  }
}

// The centres of a bivariate cluster run that keeps species 1: every set of
// m of its points equally likely, so every point a centre with probability
// m / n.
TEST(DrawStatistics, EveryPointEquallyLikelyToBeACentre) {
  constexpr int kPoints = 30;
  constexpr int kCentres = 4;
  constexpr int kRuns = 20000;
  for (const GeneratorKind generator :
       {GeneratorKind::kPhilox, GeneratorKind::kClassic}) {
    SCOPED_TRACE(generator_name(generator));
    std::vector<double> chosen_at(kPoints, 0.0);
    for (std::uint32_t seed = 0; seed < kRuns; ++seed) {
      auto draws = make_pattern_draws({generator, seed});
      draws->start_pattern(0);
      draws->start_attempt();
      std::vector<std::uint8_t> chosen(kPoints, 0);
      draws->choose(chosen, kCentres);
      ASSERT_EQ(std::accumulate(chosen.begin(), chosen.end(), 0), kCentres);
      for (int i = 0; i < kPoints; ++i) chosen_at[i] += chosen[i];
    }
    const std::vector<double> expected(
        kPoints, static_cast<double>(kRuns) * kCentres / kPoints);
    // The classic walk marks from the front: the first points are favoured.
    expect_fit(generator, true, pearson(chosen_at, expected));
  }
}

}  // namespace
}  // namespace qlor
