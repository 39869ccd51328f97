// The origin file and the decimal arithmetic of moved coordinates.
#include "input/plot_origin.h"

#include <gtest/gtest.h>

#include "temp_dir.h"

namespace qlor {
namespace {

TEST(PlotOrigin, SubtractsInTheDecimalsTheNumbersWereWritten) {
  struct Case {
    double a;
    double b;
    int decimals;
    double sum;
  };
  const Case cases[] = {
      {634512.37, -634500, 2, 12.37},
      {5100050.49, -5100000.5, 2, 49.99},
      {12.37, 634500, 2, 634512.37},
      {0.1, 0.2, 1, 0.3},  // 0.30000000000000004 as plain doubles
      {0.1, 0.2, -1, 0.1 + 0.2},
      {1e300, 1e300, 3, 2e300},  // beyond 2^53 units: the plain sum
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.a);
    EXPECT_EQ(decimal_sum(c.a, c.b, c.decimals), c.sum);
  }
  EXPECT_EQ(decimal_places("12.50"), 2);
  EXPECT_EQ(decimal_places("7"), 0);
  EXPECT_EQ(decimal_places("1.5e3"), -1);
}

TEST(PlotOrigin, ReadsWhatItWritesAndNamesTheFaultyLine) {
  PlotOrigin origin{634500.25, -12, 2, 0};
  PlotOrigin read;
  ASSERT_TRUE(
      parse_origin_file(origin_file_text(origin), "p.origin", read).ok());
  EXPECT_EQ(read.x, 634500.25);
  EXPECT_EQ(read.y, -12);
  EXPECT_EQ(read.x_decimals, 2);
  EXPECT_EQ(read.y_decimals, 0);

  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"x 1\n", "p.origin: the origin needs both 'x VALUE' and 'y VALUE'"},
      {"x 1\nz 2\n",
       "p.origin, line 2: expected 'x VALUE' or 'y VALUE', not "
       "'z 2'"},
      {"# c\n\nx one\ny 2\n", "p.origin, line 3: 'one' is not a number"},
      {"x 1\ny 2\nx 3\n", "p.origin, line 3: x is given twice"},
      {"x inf\ny 2\n", "p.origin, line 1: 'inf' is not a number"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(parse_origin_file(c.text, "p.origin", read).text(), c.message);
  }
}

TEST(PlotOrigin, AMissingFileIsTheZeroOrigin) {
  testing::TempDir dir;
  PlotOrigin origin{1, 2, 0, 0};
  ASSERT_TRUE(read_plot_origin(dir.file("none.origin"), origin).ok());
  EXPECT_TRUE(origin.zero());
  ASSERT_TRUE(
      read_plot_origin(dir.write("a.origin", "y 5\nx 7.5\n"), origin).ok());
  EXPECT_EQ(origin.x, 7.5);
  EXPECT_EQ(origin.y, 5);
}

}  // namespace
}  // namespace qlor
