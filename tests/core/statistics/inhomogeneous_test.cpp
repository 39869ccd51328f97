// The inhomogeneous functions: the homogeneous ones again under a constant
// intensity, the weighted pair sums against a plain sum on every instruction
// set, and the points they refuse.
#include "statistics/inhomogeneous.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "model/intensity.h"
#include "pattern_builder.h"
#include "statistics/edge_weight.h"
#include "statistics/summary_function.h"

namespace qlor {
namespace {

// A grid of 2 x 2 cells over the plot, each species' value constant.
Intensity constant_intensity(double x_axis, double y_axis, double lambda1,
                             double lambda2) {
  auto grid = std::make_shared<IntensityGrid>();
  grid->x0 = x_axis / 4;
  grid->y0 = y_axis / 4;
  grid->dx = x_axis / 2;
  grid->dy = y_axis / 2;
  grid->nx = 2;
  grid->ny = 2;
  grid->values = {std::vector<double>(4, lambda1),
                  std::vector<double>(4, lambda2)};
  Intensity intensity;
  intensity.source = IntensitySource::kFile;
  intensity.path = "constant.csv";
  intensity.grid = grid;
  return intensity;
}

TEST(Inhomogeneous, ConstantIntensityGivesTheHomogeneousCurves) {
  struct Case {
    FunctionKind homogeneous;
    FunctionKind inhomogeneous;
    bool bivariate;
  };
  const Case cases[] = {
      {FunctionKind::kL, FunctionKind::kLinhom, false},
      {FunctionKind::kL, FunctionKind::kLinhom, true},
      {FunctionKind::kG, FunctionKind::kGinhom, false},
      {FunctionKind::kG, FunctionKind::kGinhom, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.inhomogeneous) * 10 + c.bivariate);
    // Many centres near the edges, and distances to 12 in a 60 x 40 plot.
    AnalysisState state =
        testing::make_pattern(testing::random_points(400, 60, 40, 3),
                              c.bivariate, 0, 60, 40, 0.5, 23);
    const double area = 60.0 * 40.0;
    const double n1 = c.bivariate ? state.n_species1 : state.n_points;
    const double n2 = c.bivariate ? state.n_species2 : 0;
    FunctionChoice plain{c.homogeneous, Direction::kNone, PcfEstimator::kKernel,
                         1.5};
    FunctionChoice weighted = plain;
    weighted.kind = c.inhomogeneous;
    weighted.intensity = constant_intensity(60, 40, n1 / area, n2 / area);
    PairScratch scratch;
    PatternValues want;
    PatternValues got;
    AnalysisState copy = state;
    ASSERT_TRUE(
        make_summary_function(plain)->estimate(copy, scratch, want).ok());
    ASSERT_TRUE(
        make_summary_function(weighted)->estimate(state, scratch, got).ok());
    ASSERT_EQ(got.size(), 1u);
    ASSERT_EQ(got[0].size(), want[0].size());
    for (std::size_t i = 0; i < want[0].size(); ++i) {
      // L - t: relative to t, where L's rounding lives.
      const double t = state.t_of(static_cast<std::int32_t>(i));
      const double scale = std::max(std::fabs(want[0][i]), t);
      EXPECT_NEAR(got[0][i], want[0][i], 1e-12 * scale) << i;
    }
  }
}

TEST(Inhomogeneous, WeightedSumsAreThePlainSumOnEveryInstructionSet) {
  for (const bool bivariate : {false, true}) {
    SCOPED_TRACE(bivariate);
    const AnalysisState state = testing::make_pattern(
        testing::random_points(300, 50, 30, 11), bivariate, 0, 50, 30, 1, 7);
    std::vector<double> scale(state.points.size());
    for (std::size_t i = 0; i < scale.size(); ++i) {
      scale[i] = 0.5 + static_cast<double>(i % 17) / 8;
    }
    PairScratch scratch;
    std::vector<double> want_12;
    std::vector<double> want_21;
    weighted_pair_sums(state, scale, scratch, want_12, want_21,
                       KernelIsa::kBaseline);
    for (const KernelIsa isa : supported_kernel_isas()) {
      std::vector<double> s12;
      std::vector<double> s21;
      weighted_pair_sums(state, scale, scratch, s12, s21, isa);
      EXPECT_EQ(s12, want_12) << static_cast<int>(isa);
      EXPECT_EQ(s21, want_21) << static_cast<int>(isa);
    }
    // All pairs, one at a time.
    for (std::int32_t i = 0; i <= state.last_interval; ++i) {
      const double t = state.t_of(i);
      double plain[2] = {0, 0};
      for (std::size_t j = 0; j < state.points.size(); ++j) {
        for (std::size_t k = 0; k < state.points.size(); ++k) {
          const PointRecord& a = state.points[j];
          const PointRecord& b = state.points[k];
          if (j == k || (bivariate && a.species == b.species)) continue;
          const double d = std::hypot(a.x - b.x, a.y - b.y);
          if (d > t) continue;
          plain[bivariate && a.species != 0 ? 1 : 0] +=
              edge_weight(50, 30, a.x, a.y, d) * scale[j] * scale[k];
        }
      }
      const auto at = static_cast<std::size_t>(i);
      EXPECT_NEAR(want_12[at], plain[0], 1e-12 * plain[0]) << i;
      EXPECT_NEAR(want_21[at], plain[1], 1e-12 * plain[1]) << i;
    }
  }
}

TEST(Inhomogeneous, AZeroIntensityAtAPointIsRefusedNamingIt) {
  AnalysisState state =
      testing::make_pattern({{10, 10, 0}, {12, 11, 0}, {90, 90, 0}}, false);
  std::vector<double> lambda;
  Intensity kernel;
  kernel.source = IntensitySource::kKernel;
  kernel.sigma = 1;
  const Status isolated = intensity_at_points(state, kernel, lambda);
  EXPECT_NE(isolated.text().find("point 3 (x = 90, y = 90)"), std::string::npos)
      << isolated.text();
  EXPECT_NE(isolated.text().find("choose a larger sigma"), std::string::npos);
  kernel.sigma = 40;
  EXPECT_TRUE(intensity_at_points(state, kernel, lambda).ok());

  Intensity grid = constant_intensity(100, 100, 1, 0);
  auto cells = std::make_shared<IntensityGrid>(*grid.grid);
  cells->values[0][3] = 0;  // the north-east cell
  grid.grid = cells;
  const Status zero = intensity_at_points(state, grid, lambda);
  EXPECT_EQ(zero.text().rfind("constant.csv: ", 0), 0u) << zero.text();
  EXPECT_NE(zero.text().find("point 3 (x = 90, y = 90)"), std::string::npos);
}

}  // namespace
}  // namespace qlor
