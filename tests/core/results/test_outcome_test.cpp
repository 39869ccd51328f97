// The Monte Carlo p-value: rank of the observed statistic among all n + 1,
// ties counted against the observed pattern.
#include "results/test_outcome.h"

#include <gtest/gtest.h>

namespace qlor {
namespace {

TEST(TestOutcome, RankCountsStatisticsAtLeastAsLarge) {
  struct Case {
    const char* name;
    std::vector<double> statistics;  // observed first
    std::int64_t rank;
    double p;
  };
  const Case cases[] = {
      {"largest", {5, 3, 1, 2}, 1, 0.25},
      {"smallest", {0, 1, 2, 3}, 4, 1.0},
      {"tied with two", {2, 3, 2, 2, 1}, 4, 0.8},
      {"all equal", {7, 7, 7, 7, 7}, 5, 1.0},
      // Equal in the six digits of the file, not in full precision.
      {"beyond six digits", {1.0000001, 1.0000002, 1.00000005, 0.5}, 2, 0.5},
      {"sign kept", {-1, -2, -0.5, 0}, 3, 0.75},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TestOutcome o = rank_observed(c.statistics);
    EXPECT_EQ(o.rank, c.rank);
    EXPECT_EQ(o.n_values, static_cast<std::int64_t>(c.statistics.size()));
    EXPECT_DOUBLE_EQ(o.p_value, c.p);
  }
}

TEST(TestOutcome, ConsoleLine) {
  std::vector<double> statistics(100, 1.0);
  statistics[0] = 2;  // alone at the top of 99 simulations
  TestOutcome o = rank_observed(statistics);
  o.test_name = "Supremum test";
  EXPECT_EQ(format_test_outcome(o), "Supremum test: rank 1 of 100, p = 0.01");
  o = rank_observed({2, 3, 1});
  EXPECT_EQ(format_test_outcome(o), ": rank 2 of 3, p = 0.6667");
}

}  // namespace
}  // namespace qlor
