// The kernel intensity at the points: its exponential against the
// library's, the estimate against a plain sum, and the same bits from every
// instruction-set variant.
#include "statistics/kernel_intensity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "model/intensity.h"
#include "pattern_builder.h"

namespace qlor {
namespace {

TEST(KernelExp, WithinTwoUnitsInTheLastPlace) {
  double worst = 0;
  for (int i = 0; i <= 400000; ++i) {
    const double a = -kKernelCutoffExponent * i / 400000.0;
    const double want = std::exp(a);
    const double ulp = std::nextafter(want, 1.0) - want;
    worst = std::max(worst, std::fabs(kernel_exp(a) - want) / ulp);
  }
  EXPECT_LE(worst, 2.0);
  EXPECT_EQ(kernel_exp(0.0), 1.0);
}

TEST(KernelIntensity, IsTheLeaveOneOutSumOverTheEdgeMass) {
  for (const bool bivariate : {false, true}) {
    const auto points = testing::random_points(300, 40, 25, 9);
    const double sigma = 3;
    std::vector<double> lambda;
    kernel_intensity_at_points(points, bivariate, 40, 25, sigma, lambda);
    for (std::size_t i = 0; i < points.size(); i += 7) {
      double sum = 0;
      for (std::size_t j = 0; j < points.size(); ++j) {
        if (j == i || (bivariate && points[j].species != points[i].species)) {
          continue;
        }
        const double dx = points[i].x - points[j].x;
        const double dy = points[i].y - points[j].y;
        sum += std::exp(-(dx * dx + dy * dy) / (2 * sigma * sigma));
      }
      const double want = sum / (2 * std::numbers::pi * sigma * sigma) /
                          edge_mass(points[i].x, points[i].y, 40, 25, sigma);
      EXPECT_NEAR(lambda[i], want, 1e-13 * want) << i;
    }
  }
  // Far beyond the cut-off a point has nothing to add: an isolated point's
  // estimate is 0.
  std::vector<double> lambda;
  kernel_intensity_at_points({{1, 1, 0}, {99, 99, 0}}, false, 100, 100, 1,
                             lambda);
  EXPECT_EQ(lambda, (std::vector<double>{0, 0}));
}

TEST(KernelIntensity, EveryInstructionSetGivesTheSameBits) {
  const auto points = testing::random_points(1001, 100, 70, 4);
  std::vector<double> want;
  kernel_intensity_at_points(points, true, 100, 70, 8.75, want,
                             KernelIsa::kBaseline);
  for (const KernelIsa isa : supported_kernel_isas()) {
    std::vector<double> got;
    kernel_intensity_at_points(points, true, 100, 70, 8.75, got, isa);
    EXPECT_EQ(got, want) << static_cast<int>(isa);
  }
}

}  // namespace
}  // namespace qlor
