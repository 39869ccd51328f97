// CSV export of result and test files.
#include "results/csv_export.h"

#include <gtest/gtest.h>

namespace qlor {
namespace {

TEST(CsvExport, CopiesResultColumnsUnderAHeader) {
  std::string error;
  const auto csv =
      result_file_to_csv("1 0.784124 -1 -1\r\n2 1.2e-005 -2 -0.2\r\n", error);
  ASSERT_TRUE(csv) << error;
  EXPECT_EQ(*csv,
            "t,upper,lower,observed\n1,0.784124,-1,-1\n2,1.2e-005,-2,-0.2\n");
  EXPECT_FALSE(result_file_to_csv("1 2 3\n", error));
  EXPECT_EQ(error, "line 1 is not 't upper lower observed'");
}

TEST(CsvExport, MarksTheObservedStatistic) {
  std::string error;
  const auto csv = test_file_to_csv("2\t3\r\n1\t2.5\t*\r\n0\t1\r\n", error);
  ASSERT_TRUE(csv) << error;
  EXPECT_EQ(*csv, "rank,statistic,observed\n2,3,0\n1,2.5,1\n0,1,0\n");
  EXPECT_FALSE(test_file_to_csv("2\t3\tx\n", error));
}

}  // namespace
}  // namespace qlor
