// The elementary functions of fixed bits against the long-double library
// ones: within their units in the last place over the ranges the program
// uses them in, and exact where the answer is.
#include "model/fixed_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

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

TEST(FixedMath, ArcCosineWithinOneUnitInTheLastPlace) {
  std::mt19937_64 gen(7);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  double worst = 0;
  int correctly_rounded = 0;
  const int n = 100000;
  for (int i = 0; i < n; ++i) {
    // The edge weights' arguments lie in [0, 1]; the approximation changes
    // at 0.5.
    const double x = i % 4 == 0 ? u(gen) : std::fabs(u(gen));
    const long double want = acosl(static_cast<long double>(x));
    worst = std::max(worst, ulps(fixed_acos(x), want));
    correctly_rounded += fixed_acos(x) == static_cast<double>(want) ? 1 : 0;
  }
  EXPECT_LT(worst, 1.0);
  EXPECT_GT(correctly_rounded, n * 9 / 10);
  struct Case {
    double x, want;
  };
  const Case exact[] = {{1.0, 0.0},
                        {-1.0, 3.141592653589793},
                        {0.0, 1.5707963267948966},
                        {0.5, 1.0471975511965979},
                        {-0.5, 2.0943951023931957}};
  for (const Case& c : exact) EXPECT_EQ(fixed_acos(c.x), c.want) << c.x;
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
