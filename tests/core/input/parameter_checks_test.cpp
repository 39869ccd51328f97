// Header values: their checks in order and the derived distance grid.
#include "input/parameter_checks.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qlor {
namespace {

struct CheckCase {
  std::string header;
  int process_type;
  int n_points;
  std::string status;
};

std::string check(const CheckCase& c, AnalysisState& state) {
  state.process_type = static_cast<ProcessType>(c.process_type);
  state.n_points = c.n_points;
  std::istringstream in(c.header);
  double total = -1;
  return check_parameters(state, in, total).text();
}

TEST(CheckParameters, ReportsTheFirstFailingCheck) {
  const CheckCase cases[] = {
      {"100 80 1 1 20 99", 0, 10, ""},
      {"100 80 1 1 40 19", 0, 10, ""},  // half the shorter side passes
      {"100 80 1 1 40.001 19", 0, 10, kTmaxAboveHalf},
      {"0 80 1 1 20 99", 0, 10, kPlotSize},
      {"100 -1 30 1 20 99", 0, 10, kPlotSize},  // plot first, then t
      {"100 80 21 1 20 99", 0, 10, kTminAboveTmax},
      {"100 80 1 0 20 99", 0, 10, kTintervalRange},
      {"100 80 1 21 20 99", 0, 10, kTintervalRange},
      {"100 80 1 20 20 99", 0, 10, ""},  // t_interval equal to t_max
      {"100 80 20 1 20 99", 0, 10, ""},  // t_min equal to t_max
      {"100 80 1 1 20 18", 0, 10, kSimulationCount},
      {"100 80 1 1 20 20", 0, 10, kSimulationCount},
      {"100 80 1 1 20 98", 0, 10, kSimulationCount},
      {"100 80 1 1 20 100", 0, 10, ""},
      {"100 80 1 1 20 1000", 0, 10, ""},
      {"100 80 1 1 20 2147483647", 0, 10, "MAF:3"},
      {"100 80 0 1e-12 20 19", 0, 10, "MAF:2"},
      {"abc 80 1 1 20 99", 0, 10, kHeaderNonNumeric},
      {"100 80 1 1 20 99.5", 0, 10, kHeaderNonNumeric},
      {"100 80 1 1 20 1e2", 0, 10, kHeaderNonNumeric},
      {"100 80 1 1 20 19x", 0, 10, kHeaderNonNumeric},
      {"100 80 1 1 1e999 19", 0, 10, kHeaderNonNumeric},
      {"100 80 1 1 20 99999999999", 0, 10, kHeaderNonNumeric},
      // Packing bound of 100 points in 10 x 10: about 1.07457.
      {"10 10 1 1 5 19 1.07 0", 1, 100, ""},
      {"10 10 1 1 5 19 1.08 0", 1, 100, kInhibitionTooLarge},
      {"10 10 1 1 5 19 1.08 0.2", 1, 100, ""},
      {"10 10 1 1 5 19 1 1", 1, 100, ""},
      {"10 10 1 1 5 19 1 -0.1", 1, 100, kCOutOfRange},
      {"10 10 1 1 5 19 1 1.1", 1, 100, kCOutOfRange},
      {"10 10 1 1 5 19 1 0", 1, 100, ""},
      {"10 8 1 1 4 19 4 0 5", 2, 100, kClusterTooLarge},  // exactly half
      {"10 8 1 1 4 19 3.9 0 100", 2, 100, kTooManyCenters},
      {"10 8 1 1 4 19 3.9 0 99", 2, 100, ""},
      {"10 8 1 1 4 19 3.9 0 0", 2, 100, kCentersBelowOne},
      {"10 8 1 1 4 19 3.9 1.5 5", 2, 100, kCOutOfRange},
      {"10 8 1 1 4 19 3.9 -0.5 5", 2, 100, ""},  // negative c stays allowed
      {"10 8 1 1 4 19 3.9 0 5.5", 2, 100, kHeaderNonNumeric},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.header);
    AnalysisState state;
    EXPECT_EQ(check(c, state), c.status);
  }
}

TEST(CheckParameters, DerivesTheDistanceGridAndWork) {
  struct Case {
    std::string header;
    int t_min_steps, last_interval;
    double pairs_total;
  };
  const Case cases[] = {
      {"100 80 1 1 20 99", 1, 19, 10.0 * 10 * 20 * 100},
      {"100 80 0.3 0.1 2 19", 3, 17,
       10.0 * 10 * 18 * 20},  // tolerance absorbs 0.3/0.1
      {"100 80 0.05 0.1 2 19", 0, 19, 10.0 * 10 * 20 * 20},
      {"100 80 5 1 5 19", 5, 0, 10.0 * 10 * 1 * 20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.header);
    AnalysisState state;
    state.n_points = 10;
    std::istringstream in(c.header + "\n1 2\n");
    double total = 0;
    ASSERT_EQ(check_parameters(state, in, total), "");
    EXPECT_EQ(state.t_min_steps, c.t_min_steps);
    EXPECT_EQ(state.last_interval, c.last_interval);
    EXPECT_EQ(total, c.pairs_total);
    double x = 0;
    EXPECT_TRUE(in >> x);  // the stream is left at the records
    EXPECT_EQ(x, 1.0);
  }
}

}  // namespace
}  // namespace qlor
