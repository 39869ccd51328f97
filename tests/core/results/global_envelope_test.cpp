// The global envelope test by extreme rank length: small curve sets worked
// out by hand, and the equivalence of "outside the band" and "p <= alpha".
#include "results/global_envelope.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace qlor {
namespace {

using Ranks = std::vector<std::vector<double>>;

// Four curves at three distances, ties at distances 1 and 2. By hand:
//   t0: values 5 2 3 4 -> ranks from below 4 1 2 3 -> two-sided 1 1 2 2
//   t1: values 1 2 2 4 -> 1 2.5 2.5 4 -> 1 2.5 2.5 1
//   t2: values 3 3 0 1 -> 3.5 3.5 1 2 -> 1.5 1.5 1 2
// Sorted: c0 (1 1 1.5) < c1 (1 1.5 2.5) < c3 (1 2 2) < c2 (1 2 2.5).
const CurveSet kFour = {{5, 1, 3}, {2, 2, 3}, {3, 2, 0}, {4, 4, 1}};

TEST(GlobalEnvelope, RanksOrderAndPByHand) {
  const Ranks ranks = two_sided_ranks(kFour);
  EXPECT_EQ(ranks, (Ranks{{1, 1, 1.5}, {1, 2.5, 1.5}, {2, 2.5, 1}, {2, 1, 2}}));
  EXPECT_EQ(erl_ranks(ranks), (std::vector<double>{1, 2, 4, 3}));
  EXPECT_EQ(at_least_as_extreme(ranks),
            (std::vector<std::int64_t>{1, 2, 4, 3}));

  // alpha = 0.25 drops the observed curve (p = 1/4): the band of c1 to c3
  // leaves it above at t0 and below at t1; at t2 it meets the upper edge.
  const GlobalEnvelope g = global_envelope(kFour, 0.25);
  EXPECT_EQ(g.rank, 1);
  EXPECT_EQ(g.n_curves, 4);
  EXPECT_DOUBLE_EQ(g.p_value, 0.25);
  EXPECT_EQ(g.n_kept, 3);
  EXPECT_EQ(g.lower, (std::vector<double>{2, 2, 0}));
  EXPECT_EQ(g.upper, (std::vector<double>{4, 4, 3}));
  ASSERT_EQ(g.outside.size(), 2u);
  EXPECT_TRUE(g.touching.empty());
  EXPECT_EQ(format_outside({3, 7, 18}, g),
            "outside at t = 3 (above), 7 (below)");
  EXPECT_EQ(format_global_outcome(g),
            "Global envelope test (extreme rank length): p = 0.25 (3 "
            "simulations)");

  // alpha = 0.2 < 1/4: no curve can be dropped, the band spans them all.
  const GlobalEnvelope all = global_envelope(kFour, 0.2);
  EXPECT_EQ(all.n_kept, 4);
  EXPECT_EQ(all.lower, (std::vector<double>{2, 1, 0}));
  EXPECT_EQ(all.upper, (std::vector<double>{5, 4, 3}));
  EXPECT_TRUE(all.outside.empty());
  EXPECT_EQ(format_outside({3, 7, 18}, all),
            "inside the 80 % global envelope at every t");
  EXPECT_NE(few_simulations_note(all).find("spans every curve"),
            std::string::npos);
}

TEST(GlobalEnvelope, EqualRankVectorsShareTheirPlace) {
  // Both distances: values 1 4 2 3 and 4 1 2 3 give two-sided ranks
  // 1 1 2 2 each, so c0 ties c1 and c2 ties c3.
  const CurveSet curves = {{1, 4}, {4, 1}, {2, 2}, {3, 3}};
  const Ranks ranks = two_sided_ranks(curves);
  EXPECT_EQ(ranks, (Ranks{{1, 1}, {1, 1}, {2, 2}, {2, 2}}));
  EXPECT_EQ(erl_ranks(ranks), (std::vector<double>{1.5, 1.5, 3.5, 3.5}));
  EXPECT_EQ(at_least_as_extreme(ranks),
            (std::vector<std::int64_t>{2, 2, 4, 4}));
  const GlobalEnvelope g = global_envelope(curves, 0.5);
  EXPECT_DOUBLE_EQ(g.p_value, 0.5);  // the tied c1 counts as extreme
  EXPECT_EQ(g.lower, (std::vector<double>{2, 2}));
  EXPECT_EQ(g.upper, (std::vector<double>{3, 3}));
  EXPECT_EQ(format_outside({1, 2}, g), "outside at t = 1 (below), 2 (above)");
}

TEST(GlobalEnvelope, TiedValuesCanRejectWithoutLeavingTheBand) {
  // Eight curves at two distances. At t0 the observed curve ties c1 at the
  // bottom and c3, c4 tie at the top (two-sided ranks 1.5); at t1 it ties
  // c2, and c5, c6 tie at the top. Sorted ranks: c0 (1.5 1.5); c4, c6
  // (1.5 3); c1, c2, c3, c5 (1.5 4); c7 (3 3). So p = 1/8, and at alpha =
  // 1/8 only c0 goes, yet c1 and c2 hold the lower edge at its values.
  const CurveSet curves = {{0, 0},  {0, 4},  {4, 0},  {10, 5},
                           {10, 6}, {5, 10}, {6, 10}, {3, 3}};
  const Ranks ranks = two_sided_ranks(curves);
  EXPECT_EQ(ranks[0], (std::vector<double>{1.5, 1.5}));
  EXPECT_EQ(ranks[4], (std::vector<double>{1.5, 3}));
  EXPECT_EQ(at_least_as_extreme(ranks),
            (std::vector<std::int64_t>{1, 7, 7, 7, 3, 7, 3, 8}));
  const GlobalEnvelope g = global_envelope(curves, 0.125);
  EXPECT_EQ(g.p_value, 0.125);
  EXPECT_EQ(g.n_kept, 7);
  EXPECT_EQ(g.lower, (std::vector<double>{0, 0}));
  EXPECT_TRUE(g.outside.empty());
  EXPECT_EQ(g.touching, (std::vector<std::size_t>{0, 1}));
  EXPECT_EQ(format_outside({1, 2}, g),
            "outside at no t, rejected through tied values: the observed "
            "curve lies on the envelope's edge at t = 1, 2");
}

TEST(GlobalEnvelope, KeepsCurvesWhosePExceedsAlphaWhenAlphaNIsNotWhole) {
  // Six curves at one distance, values 1 to 6: two-sided ranks 1 2 3 3 2
  // 1, so the observed curve ties the largest one and p = 2/6. At alpha =
  // 0.25 (alpha N = 1.5) GET's critical value, the floor(4.5) = 4th
  // largest ERL measure (3.5 of 5.5 5.5 3.5 3.5 1.5 1.5), would drop it;
  // here p > alpha keeps it and the band spans every curve.
  const CurveSet curves = {{1}, {2}, {3}, {4}, {5}, {6}};
  const GlobalEnvelope g = global_envelope(curves, 0.25);
  EXPECT_NEAR(g.p_value, 2.0 / 6, 1e-15);
  EXPECT_EQ(g.n_kept, 6);
  EXPECT_EQ(g.lower, std::vector<double>{1});
  EXPECT_EQ(g.upper, std::vector<double>{6});
  // Just above alpha = 2/6 the two most extreme curves go.
  const GlobalEnvelope third = global_envelope(curves, 0.34);
  EXPECT_EQ(third.n_kept, 4);
  EXPECT_EQ(third.lower, std::vector<double>{2});
  EXPECT_EQ(third.upper, std::vector<double>{5});
}

TEST(GlobalEnvelope, OutsideRangesJoinNeighboursOfOneSide) {
  const std::vector<double> lower(7, 0);
  const std::vector<double> upper(7, 1);
  const std::vector<double> obs = {2, 2, -1, 0.5, 0, 3, 3};
  GlobalEnvelope g;
  g.outside = outside_ranges(lower, upper, obs);
  EXPECT_EQ(format_outside({1, 2, 3, 4, 5, 6, 7}, g),
            "outside at t = 1 - 2 (above), 3 (below), 6 - 7 (above)");
}

TEST(GlobalEnvelope, AdvisesSimulationsForTheLevel) {
  EXPECT_EQ(advised_simulations(0.05), 2499);
  EXPECT_EQ(advised_simulations(0.01), 12499);
  EXPECT_EQ(advised_simulations(0.1), 1249);
  GlobalEnvelope g;
  g.n_curves = 200;
  g.n_kept = 190;
  EXPECT_EQ(few_simulations_note(g),
            "note: 199 simulations are few for the 95 % global envelope (at "
            "least 2499 are advised); the p-value is valid with fewer");
  g.n_curves = 2500;
  EXPECT_EQ(few_simulations_note(g), "");
}

// Curve sets from a seeded generator: random walks (no ties) and the same
// rounded to a coarse grid (many ties). Without ties the observed curve
// leaves the band exactly when p <= alpha; with ties a rejected curve that
// stays inside lies on the edge at its most extreme rank.
TEST(GlobalEnvelope, OutsideExactlyWhenPAtMostAlpha) {
  std::mt19937 rng(20240516);
  std::normal_distribution<double> step(0, 1);
  int rejected = 0;
  int touched = 0;
  for (int set = 0; set < 300; ++set) {
    const bool coarse = set % 2 == 1;
    const std::size_t n_curves = 20 + static_cast<std::size_t>(set % 7) * 30;
    const std::size_t n_t = 1 + static_cast<std::size_t>(set % 5) * 6;
    CurveSet curves(n_curves, std::vector<double>(n_t));
    for (std::size_t i = 0; i < n_curves; ++i) {
      double v = 0;
      // Every fourth set shifts the observed curve away from the others.
      const double drift = i == 0 && set % 4 == 0 ? 0.6 : 0;
      for (auto& x : curves[i]) {
        v += step(rng) + drift;
        x = coarse ? std::round(v) : v;
      }
    }
    for (double alpha : {0.01, 0.05, 0.1, 0.25}) {
      SCOPED_TRACE(testing::Message() << "set " << set << " alpha " << alpha);
      const GlobalEnvelope g = global_envelope(curves, alpha);
      const bool outside = !g.outside.empty();
      const bool touching = !g.touching.empty();
      EXPECT_EQ(outside || touching, g.p_value <= alpha) << "p = " << g.p_value;
      EXPECT_FALSE(outside && touching);
      EXPECT_TRUE(coarse || !touching);
      rejected += outside ? 1 : 0;
      touched += touching ? 1 : 0;
    }
  }
  EXPECT_GT(rejected, 50);  // both outcomes were exercised
  EXPECT_LT(touched, 5);    // and ties that reject from inside are rare
}

}  // namespace
}  // namespace qlor
