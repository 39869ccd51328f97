// The elementary functions of fixed bits against MPFR (the arc cosine) and
// the long-double library (the others): within their units in the last place
// over the ranges the program uses them in, and exact where the answer is.
#include "model/fixed_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "mpfr_reference.h"

namespace qlor {
namespace {

// |got - want| in units in the last place of want rounded to double.
double ulps(double got, long double want) {
  const auto rounded = static_cast<double>(want);
  const double ulp =
      std::nextafter(std::fabs(rounded), HUGE_VAL) - std::fabs(rounded);
  return static_cast<double>(std::fabs(static_cast<long double>(got) - want)) /
         ulp;
}

// Against MPFR, over the edge weights' arguments in [0, 1] and the rest of
// [-1, 1], with many near 0 and near 1, where the branches meet and where
// the square root's low part matters.
TEST(FixedMath, ArcCosinesAgainstMpfr) {
  std::mt19937_64 gen(7);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::vector<double> arguments;
  for (int i = 0; i < 100000; ++i) {
    double x = i % 4 == 0 ? u(gen) : std::fabs(u(gen));
    if (i % 5 == 1) x = 1.0 - std::ldexp(std::fabs(u(gen)), -(i % 50));
    if (i % 7 == 2) x = std::ldexp(u(gen), -(i % 60));
    if (i % 11 == 3) x = std::nextafter(0.5, i % 2 == 0 ? 0.0 : 1.0);
    arguments.push_back(x);
  }
  const testing::AcosCheck check =
      testing::check_acos(arguments, [](double x) { return fixed_acos(x); });
  EXPECT_LT(check.worst_ulps, 1.0) << "at " << check.worst_at;
  EXPECT_GE(check.rounded_share(), 0.999);
  struct Case {
    double x, want;
  };
  const Case exact[] = {{1.0, 0.0},
                        {-1.0, 3.141592653589793},
                        {0.0, 1.5707963267948966},
                        {-0.0, 1.5707963267948966},
                        {0.5, 1.0471975511965979},
                        {-0.5, 2.0943951023931957}};
  for (const Case& c : exact) {
    EXPECT_EQ(fixed_acos(c.x), c.want) << c.x;
  }
  // Arguments beyond [-1, 1] give NaN (and read nothing outside the table).
  EXPECT_TRUE(std::isnan(fixed_acos(1.5)));
  EXPECT_TRUE(std::isnan(fixed_acos(-3.0)));
  EXPECT_TRUE(std::isnan(fixed_acos(std::nan(""))));
}

TEST(FixedMath, LogarithmWithinTwoUnitsInTheLastPlace) {
  std::mt19937_64 gen(3);
  std::uniform_real_distribution<double> u(0.0, 1.0);
  double worst = 0;
  for (int i = 0; i < 100000; ++i) {
    // The polar method's arguments: (0, 1), down to tiny ones.
    const double x =
        i % 10 == 0 ? std::ldexp(u(gen) + 0.5, -(i % 700)) : u(gen);
    if (!(x > 0)) continue;
    worst =
        std::max(worst, ulps(fixed_log(x), logl(static_cast<long double>(x))));
  }
  EXPECT_LE(worst, 2.0);
  EXPECT_EQ(fixed_log(1.0), 0.0);
}

}  // namespace
}  // namespace qlor
