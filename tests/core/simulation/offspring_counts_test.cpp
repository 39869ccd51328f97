// The count sweeps drawn over blocks of states against the same sweeps drawn
// one by one: the same counts, the same outcome and the generator left at
// the same state.
#include "simulation/offspring_counts.h"

#include <gtest/gtest.h>

#include <vector>

#include "simulation/acceptance.h"
#include "simulation/lcg_stream.h"
#include "simulation/poisson_table.h"

namespace qlor {
namespace {

// The sweeps as the cluster process defines them, one draw at a time.
bool sweeps_one_by_one(std::vector<std::int32_t>& counts,
                       const std::vector<double>& table,
                       std::int32_t n_offspring, std::int64_t max_sweeps,
                       LcgRandom& rng) {
  for (std::int64_t sweep = 0; sweep < max_sweeps; ++sweep) {
    std::int64_t sum = 0;
    for (auto& count : counts) {
      for (;;) {
        const std::int32_t k = rng.draw_mod(n_offspring + 1);
        if (draw_acceptance(table[static_cast<std::size_t>(k)], rng)) {
          count = k;
          break;
        }
      }
      sum += count;
    }
    if (sum == n_offspring) return true;
  }
  return false;
}

std::vector<double> poisson(std::int32_t n_offspring, std::int32_t centres) {
  std::vector<double> table(static_cast<std::size_t>(n_offspring) + 1);
  fill_poisson_table(table, static_cast<double>(n_offspring) / centres,
                     n_offspring);
  return table;
}

TEST(LcgStates, ContinueTheSequenceOfSingleDraws) {
  for (const std::size_t n : {1u, 7u, 8u, 9u, 100u}) {
    SCOPED_TRACE(n);
    LcgRandom rng;
    rng.seed(4000000000u);
    std::vector<std::uint32_t> states(n);
    fill_lcg_states(rng.state(), states);
    for (const std::uint32_t state : states) {
      const std::int32_t draw = rng.draw();
      ASSERT_EQ(rng.state(), state);
      ASSERT_EQ(draw_of_state(state), draw);
    }
  }
}

TEST(DrawDivisor, GivesTheRemainderOfEveryDraw) {
  for (const std::int32_t n : {1, 2, 3, 7, 1961, 4901, 16384, 32767, 32768}) {
    SCOPED_TRACE(n);
    const DrawDivisor divisor = DrawDivisor::of(n);
    int wrong = 0;
    for (std::int32_t d = 0; d <= LcgRandom::kMax; ++d) {
      wrong += divisor.remainder(d) != d % n;
    }
    EXPECT_EQ(wrong, 0);
  }
}

TEST(DrawOffspringCounts, MatchesTheSweepsDrawnOneByOne) {
  struct Case {
    const char* what;
    std::vector<double> table;
    std::int32_t centres;
    std::int64_t max_sweeps;
  };
  const Case cases[] = {
      // 40 clusters of 49: about a hundred sweeps, blocks of mostly refused
      // counts.
      {"2000 points, 40 centres", poisson(1960, 40), 40, 1000000},
      // Every count has an acceptance draw: counts and acceptance draws
      // alternate, and consecutive candidates must be skipped in pairs.
      {"3 centres, 6 counts", poisson(5, 3), 3, 1000000},
      {"certain and impossible counts", {0.5, 0.0, 1.0, 0.0, 0.0}, 2, 1000000},
      // Probabilities whose modulus would leave the 32-bit range refuse
      // without a draw, as table entries below 1e-15 do.
      {"moduli beyond 32 bits", {4e-10, 0.25, 0.25, 1e-9, 1e-16}, 3, 1000000},
      // The largest table drawn with one draw per count; bounded sweeps
      // that do not add up.
      {"32768 counts, bound reached", poisson(32767, 100), 100, 2},
      {"a bound of one sweep", poisson(1960, 40), 40, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const auto n_offspring = static_cast<std::int32_t>(c.table.size()) - 1;
    for (const std::uint32_t seed : {1u, 1700000001u, 4294967295u}) {
      SCOPED_TRACE(seed);
      LcgRandom want_rng;
      want_rng.seed(seed);
      std::vector<std::int32_t> want(static_cast<std::size_t>(c.centres), -1);
      const bool want_ok =
          sweeps_one_by_one(want, c.table, n_offspring, c.max_sweeps, want_rng);
      for (const CountScan scan : available_count_scans()) {
        SCOPED_TRACE(static_cast<int>(scan));
        LcgRandom got_rng;
        got_rng.seed(seed);
        std::vector<std::int32_t> got(static_cast<std::size_t>(c.centres), -1);
        EXPECT_EQ(draw_offspring_counts(got, c.table, n_offspring, c.max_sweeps,
                                        got_rng, scan),
                  want_ok);
        EXPECT_EQ(got, want);
        EXPECT_EQ(got_rng.state(), want_rng.state());
      }
    }
  }
}

}  // namespace
}  // namespace qlor
