// The pair correlation function and the O-ring statistic: closed forms of
// small patterns, the rings adding back up to K, and the same bits from
// every instruction-set variant.
#include "statistics/pcf_estimator.h"

#include <gtest/gtest.h>

#include <cmath>

#include "pattern_builder.h"
#include "statistics/kl_estimator.h"
#include "statistics/summary_function.h"

namespace qlor {
namespace {

using testing::make_pattern;
using testing::random_points;

std::vector<double> kernel_g(AnalysisState& state, double h,
                             bool o_ring = false) {
  PairScratch scratch;
  std::vector<double> g;
  compute_pcf_kernel(state, h, o_ring, scratch, g);
  return g;
}

// Two points 10 apart in the middle of a 100 x 100 plot, t = 1 .. 20: both
// ordered pairs have weight 1, so g(t) = A / (2 pi t 4) * 2 k_h(t - 10).
TEST(PcfKernel, TwoPointsFarFromTheEdges) {
  constexpr double kArea = 100.0 * 100.0;
  struct Case {
    double h;
    int t;     // the distance looked at
    double k;  // k_h(t - 10) by hand
  };
  const Case cases[] = {
      {2, 10, 3.0 / 8},               // the kernel's peak, 3 / (4h)
      {2, 9, 3.0 / 8 * (1 - 0.25)},   // t = d - h/2
      {2, 11, 3.0 / 8 * (1 - 0.25)},  // t = d + h/2
      {2, 12, 0},                     // |t - d| = h: no weight
      {0.5, 10, 1.5},
      {0.5, 11, 0},
      // A kernel wider than several distances reaches all of them.
      {3.5, 7, 3.0 / 14 * (1 - 9.0 / 12.25)},
      {3.5, 13, 3.0 / 14 * (1 - 9.0 / 12.25)},
      {3.5, 6, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "h = " << c.h << ", t = " << c.t);
    AnalysisState s =
        make_pattern({{45, 50, 0}, {55, 50, 0}}, false, 0, 100, 100, 1, 19);
    const std::vector<double> g = kernel_g(s, c.h);
    ASSERT_EQ(g.size(), 20u);
    const double want = kArea / (2 * kPi * c.t * 4) * 2 * c.k;
    EXPECT_NEAR(g[static_cast<std::size_t>(c.t - 1)], want,
                1e-12 * want + 1e-15);
    // Far from the pair's distance g is 0.
    EXPECT_EQ(g[0], 0.0);
  }
}

// A bivariate pair: g12 and g21 each see one ordered pair, so both are
// A / (2 pi t n1 n2) k_h(t - d), combined as (n2 g12 + n1 g21) / (n1 + n2),
// and O carries each partner's density n / A.
TEST(PcfKernel, BivariatePairsAndTheORing) {
  AnalysisState s = make_pattern({{45, 50, 0}, {55, 50, 1}, {20, 80, 0}}, true,
                                 0, 100, 100, 1, 19);
  const double h = 2;
  const double k = 3.0 / 8;  // at t = 10
  const double g12 = 1e4 * k / (2 * kPi * 10 * 2 * 1);
  const double g21 = g12;
  const double g = (1 * g12 + 2 * g21) / 3;
  EXPECT_NEAR(kernel_g(s, h)[9], g, 1e-12 * g);
  const double o = (1 * (1 / 1e4) * g12 + 2 * (2 / 1e4) * g21) / 3;
  EXPECT_NEAR(kernel_g(s, h, true)[9], o, 1e-12 * o);
}

TEST(PcfKernel, TheORingIsTheDensityTimesG) {
  AnalysisState s =
      make_pattern(random_points(300, 60, 40, 3), false, 0, 60, 40, 0.5, 29);
  const std::vector<double> g = kernel_g(s, 1.2);
  const std::vector<double> o = kernel_g(s, 1.2, true);
  for (std::size_t i = 0; i < g.size(); ++i) {
    EXPECT_EQ(o[i], 300 / (60.0 * 40.0) * g[i]) << i;
  }
}

// Every variant the processor runs adds the same weights in the same order.
TEST(PcfKernel, EveryInstructionSetGivesTheSameBits) {
  for (const bool bivariate : {false, true}) {
    const AnalysisState s = make_pattern(random_points(800, 100, 70, 11),
                                         bivariate, 0, 100, 70, 0.5, 39);
    PairScratch scratch;
    std::vector<double> want_12, want_21;
    pcf_kernel_sums(s, 0.8, scratch, want_12, want_21, KernelIsa::kBaseline);
    for (const KernelIsa isa : supported_kernel_isas()) {
      std::vector<double> got_12, got_21;
      pcf_kernel_sums(s, 0.8, scratch, got_12, got_21, isa);
      EXPECT_EQ(got_12, want_12) << static_cast<int>(isa);
      EXPECT_EQ(got_21, want_21) << static_cast<int>(isa);
    }
  }
}

// The rings between consecutive distances add back up to K: sum over i <= m
// of g_i pi (t_i^2 - t_(i-1)^2) is K(t_m) - K(t_(-1)).
TEST(PcfRing, RingsAddUpToK) {
  for (const int t_min_steps : {1, 3}) {
    for (const bool bivariate : {false, true}) {
      SCOPED_TRACE(::testing::Message()
                   << t_min_steps << (bivariate ? " bi" : ""));
      AnalysisState s = make_pattern(random_points(400, 50, 50, 5), bivariate,
                                     0, 50, 50, 0.5, 30);
      s.t_min_steps = t_min_steps;
      PairScratch scratch;
      std::vector<double> g;
      compute_pcf_ring(s, false, scratch, g);
      // K of the pattern at the distances of `at`, combined as L combines.
      auto k_of = [&](AnalysisState at, std::size_t i) {
        compute_kl(at, scratch);
        if (!bivariate) {
          const double n = s.n_points;
          return 2500 * at.pair_sums[i] / (n * n);
        }
        const double n1 = s.n_species1;
        const double n2 = s.n_species2;
        return (n2 * at.k12[i] + n1 * at.k21[i]) / (n1 + n2);
      };
      // K just before the first distance, from an estimate that starts there.
      double k_before = 0;
      if (t_min_steps > 1) {
        AnalysisState before = s;
        before.t_min_steps = t_min_steps - 1;
        before.last_interval = 0;
        ASSERT_EQ(allocate_result_arrays(before, Direction::kNone), "");
        k_before = k_of(before, 0);
      }
      double total = k_before;
      for (std::size_t i = 0; i < g.size(); ++i) {
        const double t = s.t_of(static_cast<std::int32_t>(i));
        const double t_before = s.t_of(static_cast<std::int32_t>(i) - 1);
        total += g[i] * kPi * (t * t - t_before * t_before);
        const double k = k_of(s, i);
        EXPECT_NEAR(total, k, 1e-9 * k) << i;
      }
    }
  }
}

TEST(SummaryFunctions, NameTheirFilesAndTheirValueUnderCsr) {
  AnalysisState s =
      make_pattern(random_points(50, 20, 10, 1), true, 0, 20, 10, 0.5, 5);
  s.n_species1_observed = 20;
  s.n_species2_observed = 30;
  struct Case {
    FunctionKind kind;
    Direction direction;
    std::vector<std::string> suffixes;
    double csr_value;
    const char* label;
  };
  const Case cases[] = {
      {FunctionKind::kL, Direction::kNone, {""}, 0, "L(t) - t"},
      {FunctionKind::kL,
       Direction::kCardinal,
       {"_W4", "_N4", "_E4", "_S4"},
       0,
       "L(t) - t"},
      {FunctionKind::kG, Direction::kNone, {"_g"}, 1, "g(t)"},
      // (n1^2 + n2^2) / (A (n1 + n2)) = 1300 / 10000
      {FunctionKind::kO, Direction::kNone, {"_O"}, 0.13, "O(t)"},
  };
  for (const auto& c : cases) {
    RunSettings settings;
    settings.function = c.kind;
    settings.direction_index = c.direction;
    const auto f = make_summary_function(settings, s);
    EXPECT_EQ(f->suffixes(), c.suffixes);
    EXPECT_DOUBLE_EQ(f->csr_value(s), c.csr_value);
    EXPECT_STREQ(f->axis_label(), c.label);
    // The choice makes the same function again, bandwidth resolved.
    const auto again = make_summary_function(f->choice());
    EXPECT_EQ(again->suffixes(), c.suffixes);
    EXPECT_EQ(again->choice().bandwidth, f->choice().bandwidth);
  }
}

TEST(SummaryFunctions, RefuseWhatTheyCannotEstimate) {
  AnalysisState s = make_pattern(random_points(100, 100, 60, 1), false, 0, 100,
                                 60, 1, 19);  // t = 1 .. 20
  RunSettings settings;
  settings.function = FunctionKind::kG;
  settings.bandwidth = 10;  // 30 - 20
  EXPECT_EQ(make_summary_function(settings, s)->check(s), "");
  settings.bandwidth = 10.5;
  EXPECT_EQ(make_summary_function(settings, s)->check(s),
            bandwidth_too_large(10.5, 10));
  settings.estimator = PcfEstimator::kRing;  // no bandwidth
  EXPECT_EQ(make_summary_function(settings, s)->check(s), "");
  s.t_min_steps = 0;
  EXPECT_NE(make_summary_function(settings, s)
                ->check(s)
                .text()
                .find("not defined at t = 0"),
            std::string::npos);
  // Stoyan's rule: 0.15 / sqrt(100 / 6000).
  EXPECT_DOUBLE_EQ(default_bandwidth(s), 0.15 / std::sqrt(100.0 / 6000));
}

}  // namespace
}  // namespace qlor
