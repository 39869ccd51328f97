#include "statistics/interval_sums.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

namespace qlor {
namespace {

double ones_one_by_one(double s, std::uint64_t count) {
  for (std::uint64_t i = 0; i < count; ++i) s = s + 1.0;
  return s;
}

TEST(AddOnes, MatchesAddingOneAtATime) {
  const double below_2_22 = std::nextafter(4194304.0, 0.0);  // odd last bit
  struct Row {
    double s;
    std::uint64_t count;
  };
  const Row rows[] = {
      {0, 0},
      {0, 1},
      {0, 5000},
      {0.3, 1},
      {0.3, 5000},  // rounds on entering [1, 2), then crosses 12 powers
      {std::nextafter(1.0, 0.0), 3},
      {1, 1},
      {1.5, 2},
      {3.0000000000000004, 1},
      {3.0000000000000004, 100},
      {below_2_22, 1},
      {below_2_22, 2},
      {below_2_22 - 0.5, 1},
      {4194303.0000000005, 1000},
      {1048575.75, 4000000},    // crosses several powers of two
      {9007199254740990.0, 5},  // runs into 2^53, where additions round
      {9007199254740992.0, 3},  // 2^53 + 1 rounds back to 2^53
      {9007199254740994.0, 3},
      {HUGE_VAL, 2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message()
                 << std::hexfloat << row.s << " + " << row.count << " ones");
    EXPECT_EQ(add_ones(row.s, row.count), ones_one_by_one(row.s, row.count));
  }
  EXPECT_TRUE(std::isnan(add_ones(NAN, 2)));
}

TEST(AddOnes, MatchesOnSumsOfEdgeWeights) {
  // Sums as the estimator forms them: many weights just above 1, with
  // every last bit in use, followed by a centre's ones.
  std::mt19937_64 gen(11);
  std::uniform_real_distribution<double> weight(1.0, 2.0);
  std::uniform_int_distribution<std::uint64_t> ones(0, 3000);
  double s = 0;
  for (int round = 0; round < 2000; ++round) {
    for (int i = 0; i < 50; ++i) s += weight(gen);
    const std::uint64_t count = ones(gen);
    const double want = ones_one_by_one(s, count);
    ASSERT_EQ(add_ones(s, count), want) << std::hexfloat << s << " " << count;
    s = want;
  }
}

}  // namespace
}  // namespace qlor
