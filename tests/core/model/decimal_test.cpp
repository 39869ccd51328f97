// Decimal text of numbers: plain notation that reads back exactly, at every
// magnitude.
#include "model/decimal.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

namespace qlor {
namespace {

TEST(Decimal, ShortestPlainTextReadsBackAtEveryMagnitude) {
  const double values[] = {
      0.1,     10.5,  -3,           1e84,     -1.5e300,
      DBL_MAX, 1e-70, DBL_TRUE_MIN, -DBL_MIN, 0.30000000000000004};
  for (const double v : values) {
    SCOPED_TRACE(v);
    const std::string text = shortest_decimal(v);
    EXPECT_EQ(text.find('e'), std::string::npos) << text;
    double back = 0;
    ASSERT_TRUE(parse_decimal(text, back)) << text;
    EXPECT_EQ(back, v);
  }
  EXPECT_EQ(shortest_decimal(1e21), "1000000000000000000000");
  EXPECT_EQ(shortest_decimal(1e-5), "0.00001");
}

}  // namespace
}  // namespace qlor
