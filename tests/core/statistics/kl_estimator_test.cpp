#include "statistics/kl_estimator.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "pattern_builder.h"

namespace qlor {
namespace {

using testing::make_pattern;

// sqrt(K / pi) for K = 5000 (two points at A = 100 x 100: 2 A / 2^2).
constexpr double kRootK5000 = 39.89422803753871591677;

TEST(ComputeKl, CountsAPairUpToAndIncludingT) {
  struct Row {
    const char* name;
    double x2;
    std::array<double, 3> sums;  // at t = 0.5, 1, 1.5
  };
  const Row rows[] = {
      {"distance exactly t = 1", 51, {0, 2, 2}},
      {"distance just beyond t = 1", std::nextafter(51.0, 52.0), {0, 0, 2}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    AnalysisState state = make_pattern({{50, 50, 0}, {row.x2, 50, 0}}, false);
    compute_kl(state);
    for (std::size_t i = 0; i < 3; ++i)
      EXPECT_EQ(state.pair_sums[i], row.sums[i]);
    EXPECT_EQ(state.l_values[0], -0.5);  // no pair: K = 0, L = -t
    EXPECT_NEAR(state.l_values[2], kRootK5000 - 1.5, 1e-12);
  }
}

TEST(ComputeKl, BivariateCountsOnlyPairsOfDifferentSpecies) {
  // The two species-1 points are 1 apart, but only the pair (0, 1) at
  // distance 1 counts; (2, 1) at sqrt 2 joins at t = 1.5.
  AnalysisState state =
      make_pattern({{50, 50, 0}, {51, 50, 1}, {50, 51, 0}}, true);
  compute_kl(state);
  const std::array<double, 3> want = {0, 1, 2};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(state.pair_sums_12[i], want[i]);
    EXPECT_EQ(state.pair_sums_21[i], want[i]);
  }
  EXPECT_EQ(state.k12[1], 5000);  // A * 1 / (2 * 1)
  EXPECT_EQ(state.k21[1], 5000);
  // (1 * 5000 + 2 * 5000) / 3 = 5000.
  EXPECT_NEAR(state.l_values[1], kRootK5000 - 1, 1e-12);
}

}  // namespace
}  // namespace qlor
