#include "statistics/kl_estimator.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "pattern_builder.h"
#include "statistics/edge_weight.h"
#include "statistics/kernel_isa.h"
#include "statistics/pair_kernel.h"

namespace qlor {
namespace {

using testing::make_pattern;

// sqrt(K / pi) for K = 5000 (two points at A = 100 x 100: 2 A / 2^2).
constexpr double kRootK5000 = 39.89422803753871591677;

TEST(ComputeKl, CountsAPairUpToAndIncludingT) {
  struct Row {
    const char* name;
    double x2;
    std::array<double, 3> sums;  // at t = 0.5, 1, 1.5
  };
  const Row rows[] = {
      {"distance exactly t = 1", 51, {0, 2, 2}},
      {"distance just beyond t = 1", std::nextafter(51.0, 52.0), {0, 0, 2}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    AnalysisState state = make_pattern({{50, 50, 0}, {row.x2, 50, 0}}, false);
    compute_kl(state);
    for (std::size_t i = 0; i < 3; ++i)
      EXPECT_EQ(state.pair_sums[i], row.sums[i]);
    EXPECT_EQ(state.l_values[0], -0.5);  // no pair: K = 0, L = -t
    EXPECT_NEAR(state.l_values[2], kRootK5000 - 1.5, 1e-12);
  }
}

TEST(ComputeKl, BivariateCountsOnlyPairsOfDifferentSpecies) {
  // The two species-1 points are 1 apart, but only the pair (0, 1) at
  // distance 1 counts; (2, 1) at sqrt 2 joins at t = 1.5.
  AnalysisState state =
      make_pattern({{50, 50, 0}, {51, 50, 1}, {50, 51, 0}}, true);
  compute_kl(state);
  const std::array<double, 3> want = {0, 1, 2};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(state.pair_sums_12[i], want[i]);
    EXPECT_EQ(state.pair_sums_21[i], want[i]);
  }
  EXPECT_EQ(state.k12[1], 5000);  // A * 1 / (2 * 1)
  EXPECT_EQ(state.k21[1], 5000);
  // (1 * 5000 + 2 * 5000) / 3 = 5000.
  EXPECT_NEAR(state.l_values[1], kRootK5000 - 1, 1e-12);
}

// The estimator's sums, formed the plain way: every ordered pair, centre j
// outer and k inner, adds its weight to each interval whose t reaches it.
std::array<std::vector<double>, 2> all_pairs_sums(const AnalysisState& state) {
  const bool bivariate = state.analysis_type == AnalysisType::kBivariate;
  const auto intervals = static_cast<std::size_t>(state.last_interval) + 1;
  std::array<std::vector<double>, 2> sums{std::vector<double>(intervals, 0.0),
                                          std::vector<double>(intervals, 0.0)};
  const auto& p = state.points;
  for (std::size_t j = 0; j < p.size(); ++j) {
    for (std::size_t k = 0; k < p.size(); ++k) {
      if (k == j || (bivariate && p[k].species == p[j].species)) continue;
      const double dx = p[j].x - p[k].x;
      const double dy = p[j].y - p[k].y;
      const double d = std::sqrt(dx * dx + dy * dy);
      auto& group = sums[bivariate && p[j].species != 0 ? 1 : 0];
      for (std::size_t i = 0; i < intervals; ++i) {
        if (d <= state.t_of(static_cast<std::int32_t>(i))) {
          group[i] +=
              edge_weight(state.x_axis, state.y_axis, p[j].x, p[j].y, d);
        }
      }
    }
  }
  return sums;
}

// Points on a lattice of the step's spacing, with some lattice points
// doubled: many distances equal some t exactly, and some pairs coincide.
std::vector<PointRecord> lattice_points(double x_axis, double y_axis,
                                        double spacing) {
  std::vector<PointRecord> points;
  int i = 0;
  for (double y = 0; y <= y_axis; y += spacing) {
    for (double x = 0; x <= x_axis; x += spacing, ++i) {
      points.push_back({x, y, i % 3 == 0 ? 1 : 0});
      if (i % 17 == 0) points.push_back({x, y, i % 2});
    }
  }
  return points;
}

TEST(ComputeKl, AddsEveryWeightInTheOrderOfTheAllPairsLoop) {
  struct Row {
    const char* name;
    bool bivariate;
    bool lattice;
    int n;  // random points
    double x_axis, y_axis, step;
    int t_min_steps, last_interval;
  };
  const Row rows[] = {
      {"one interval", false, false, 300, 100, 100, 20, 1, 0},
      {"three intervals, odd step", false, false, 300, 100, 60, 0.7, 3, 2},
      {"50 intervals", false, false, 900, 100, 100, 0.5, 1, 49},
      {"most intervals held in registers", true, false, 700, 120, 80, 0.5, 2,
       55},
      {"one interval more", true, false, 700, 120, 80, 0.5, 2, 56},
      {"many intervals", false, false, 500, 50, 200, 0.1, 5, 119},
      {"sparse points, reach of half the plot", true, false, 40, 10, 10, 0.25,
       1, 19},
      {"lattice, distances on the t values", false, true, 0, 12, 9, 0.5, 1, 8},
      {"bivariate lattice", true, true, 0, 12, 9, 0.5, 0, 8},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<PointRecord> points =
        row.lattice ? lattice_points(row.x_axis, row.y_axis, row.step)
                    : testing::random_points(row.n, row.x_axis, row.y_axis, 7);
    AnalysisState state =
        make_pattern(std::move(points), row.bivariate, 0, row.x_axis,
                     row.y_axis, row.step, row.last_interval);
    state.t_min_steps = row.t_min_steps;
    const auto want = all_pairs_sums(state);
    // Every variant of the kernel this processor runs gives the same sums.
    for (const KernelIsa isa : supported_kernel_isas()) {
      SCOPED_TRACE("kernel variant " + std::to_string(static_cast<int>(isa)));
      PairScratch scratch;
      compute_kl(state, scratch, isa);
      const auto& got_12 = row.bivariate ? state.pair_sums_12 : state.pair_sums;
      ASSERT_EQ(got_12.size(), want[0].size());
      for (std::size_t i = 0; i < want[0].size(); ++i) {
        SCOPED_TRACE("interval " + std::to_string(i));
        EXPECT_EQ(got_12[i], want[0][i]);
        if (row.bivariate) {
          EXPECT_EQ(state.pair_sums_21[i], want[1][i]);
        }
      }
    }
  }
}

// Distances at and one ulp either side of every t, 0, and beyond the last:
// each vector pass finds the first interval first_interval_from_step finds,
// and leaves unsettled (-1) only distances beyond the last t.
TEST(FirstIntervals, AgreeWithTheSearchAtEveryBoundary) {
  struct Row {
    const char* name;
    double step;
    int t_min_steps, last_interval;
  };
  const Row rows[] = {
      {"step 0.5 from t = 0.5", 0.5, 1, 49},
      {"odd step, offset", 0.7, 3, 20},
      {"one interval", 20, 1, 0},
      {"fine step", 0.1, 5, 119},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    AnalysisState state;
    state.t_interval = row.step;
    state.t_min_steps = row.t_min_steps;
    state.last_interval = row.last_interval;
    const std::vector<double> t = interval_distances(state);
    std::vector<double> d = {0.0, t.back() * 2, 1e300};
    for (const double ti : t) {
      for (const double di :
           {std::nextafter(ti, 0.0), ti, std::nextafter(ti, HUGE_VAL)}) {
        d.push_back(di);
      }
    }
    const IntervalLattice lattice(state);
    const auto check = [&](const std::vector<std::int32_t>& first) {
      for (std::size_t q = 0; q < d.size(); ++q) {
        const std::size_t want = first_interval_from_step(
            t, lattice.inverse_step, row.t_min_steps, d[q]);
        if (first[q] < 0) {
          // Unsettled, and the caller searches: only ever beyond the last t.
          EXPECT_GT(d[q], t.back()) << "d " << d[q];
          continue;
        }
        EXPECT_EQ(static_cast<std::size_t>(first[q]), want) << "d " << d[q];
      }
    };
    std::vector<std::int32_t> first(d.size() + 8);
    first_intervals(lattice, d.data(), d.size(), first.data());
    check(first);
#ifdef QLOR_WIDE_KERNELS
    const auto isas = supported_kernel_isas();
    if (isas.back() == KernelIsa::kAvx512) {
      std::fill(first.begin(), first.end(), 0);
      first_intervals_avx512(lattice, d.data(), d.size(), first.data());
      check(first);
    }
#endif
  }
}

}  // namespace
}  // namespace qlor
