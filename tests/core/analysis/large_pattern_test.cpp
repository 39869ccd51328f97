// A pattern of 100 000 points goes through reading and estimation without
// memory that grows with the square of the number of points.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "analysis/pattern_run.h"
#include "scripted_platform.h"
#include "statistics/estimate.h"
#include "temp_dir.h"

namespace qlor {
namespace {

// Peak resident memory of the process in kB (0 where it cannot be read).
long peak_kb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

TEST(LargePattern, HundredThousandPointsInBoundedMemory) {
  constexpr int kPoints = 100000;
  testing::TempDir dir;
  std::ostringstream text;
  text << "1000 1000 0.5 0.5 2 19\n";
  std::mt19937 gen(99);
  std::uniform_int_distribution<int> cell(0, 99999);
  std::set<std::pair<int, int>> used;
  while (static_cast<int>(used.size()) < kPoints) {
    const std::pair<int, int> p{cell(gen), cell(gen)};
    if (used.insert(p).second)
      text << p.first / 100.0 << ' ' << p.second / 100.0 << '\n';
  }
  const std::string path = dir.write("big.dat", text.str());

  const long before = peak_kb();
  testing::ScriptedPlatform platform;
  FixedClock clock(1);
  AppContext ctx(platform, clock);
  ViewState view;
  AnalysisState state;
  ProgressCounters counters;
  ASSERT_EQ(read_sample_file(ctx, path, state, counters), "");
  EXPECT_EQ(state.n_points, kPoints);
  ASSERT_EQ(allocate_result_arrays(state, Direction::kNone), "");
  PairScratch scratch;
  estimate_pattern(state, Direction::kNone, scratch);
  // Four distances up to 2 in a 1000 x 1000 plot: K stays near pi t^2.
  EXPECT_NEAR(state.l_values[3], 0.0, 0.5);
  const long growth = peak_kb() - before;
  if (before > 0) {
    // n^2 doubles would be 80 GB; a few arrays of n entries are a few MB.
    EXPECT_LT(growth, 256 * 1024) << "peak memory grew by " << growth << " kB";
  }
}

}  // namespace
}  // namespace qlor
