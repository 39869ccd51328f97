// The worker threads shared by the thread pool and the MPI ranks: every
// claimed number is made once, from the prepared state alone, and a pool
// whose workers wait for numbers ends when stopped.
#include "analysis/pattern_workers.h"

#include <gtest/gtest.h>

#include <map>
#include <thread>

#include "analysis/pattern_run.h"
#include "model/clock.h"
#include "scripted_platform.h"
#include "temp_dir.h"

namespace qlor {
namespace {

TEST(PatternWorkersTest, MakesEachClaimedPatternOnceAsOneThreadWould) {
  for (const GeneratorKind generator :
       {GeneratorKind::kClassic, GeneratorKind::kPhilox}) {
    SCOPED_TRACE(generator_name(generator));
    testing::TempDir dir;
    testing::ScriptedPlatform platform;
    FixedClock clock(7);
    AppContext ctx(platform, clock);
    AnalysisState observed;
    ProgressCounters counters;
    const std::string path = dir.write(
        "p.dat", "20 20 1 1 5 19\n1 1\n5 5\n9.5 3\n12 17\n3 14\n17.5 8\n");
    ASSERT_TRUE(read_sample_file(ctx, path, observed, counters).ok());
    ASSERT_TRUE(allocate_result_arrays(observed, Direction::kNone).ok());
    const SimulationEnv env{{generator, 7}, ctx.settings.randomize_mode};
    std::unique_ptr<NullModel> model;
    ASSERT_TRUE(make_null_model(observed, env, model).ok());
    const auto function = make_summary_function(FunctionChoice{});

    constexpr std::int32_t kLast = 12;
    std::map<std::int32_t, PatternOutcome> made;
    int duplicates = 0;
    std::int32_t next = 1;
    {
      PatternWorkers pool(
          3, observed, *model, *function, env,
          [&]() -> std::int64_t {
            return next > kLast ? PatternWorkers::kDone : next++;
          },
          [&](std::int32_t s, PatternOutcome outcome) {
            duplicates += made.count(s) != 0 ? 1 : 0;
            made.emplace(s, std::move(outcome));
          });
      std::unique_lock lock(pool.mutex());
      pool.delivered().wait(lock, [&] { return made.size() == kLast; });
    }
    EXPECT_EQ(duplicates, 0);
    ASSERT_EQ(made.size(), static_cast<std::size_t>(kLast));
    // The same numbers made in reverse order on one copy of the state.
    AnalysisState state = observed;
    const std::unique_ptr<PatternDraws> draws = make_pattern_draws(env.seed);
    PairScratch scratch;
    for (std::int32_t s = kLast; s >= 1; --s) {
      const PatternOutcome alone =
          make_pattern(state, *model, *function, s, *draws, scratch);
      EXPECT_EQ(made.at(s).status, alone.status) << s;
      EXPECT_EQ(made.at(s).values, alone.values) << s;
    }
  }
}

TEST(PatternWorkersTest, WorkersWaitingForNumbersEndWhenStopped) {
  AnalysisState observed;
  const SimulationEnv env{{GeneratorKind::kPhilox, 1},
                          RandomizeMode::kSpecies2};
  std::unique_ptr<NullModel> model;
  ASSERT_TRUE(make_null_model(observed, env, model).ok());
  const auto function = make_summary_function(FunctionChoice{});
  int claims = 0;
  PatternWorkers pool(
      2, observed, *model, *function, env,
      [&]() -> std::int64_t {
        ++claims;
        return PatternWorkers::kWait;
      },
      [](std::int32_t, PatternOutcome) { ADD_FAILURE() << "nothing claimed"; });
  // Both workers asked for a number and sleep.
  for (;;) {
    {
      std::lock_guard lock(pool.mutex());
      if (claims >= 2) break;
    }
    std::this_thread::yield();
  }
  pool.join();  // returns: no worker is left waiting
}

}  // namespace
}  // namespace qlor
