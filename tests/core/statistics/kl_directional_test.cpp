#include "statistics/kl_directional.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "pattern_builder.h"
#include "statistics/kl_estimator.h"

namespace qlor {
namespace {

using testing::make_pattern;
using testing::random_points;

void run_direction(AnalysisState& state, int direction) {
  PairScratch scratch;
  if (direction == 1) compute_kl_cardinal(state, scratch);
  if (direction == 2) compute_kl_diagonal(state, scratch);
  if (direction == 3) compute_kl_half_planes(state, scratch);
}

// One pair at 100 x 100, n1 = n2 = 1: a sector that holds it has K = A, so
// L + t = 2 sqrt(A / pi) for a quarter, sqrt(2 A / pi) for a half-plane.
constexpr double kQuarterRoot = 112.83791670218447221226;
constexpr double kHalfRoot = 79.78845607507743183354;

TEST(DirectionalKl, CountsAPairByTheDirectionOfTheSpecies2Point) {
  struct Row {
    const char* name;
    double dx, dy;  // from the species-1 point to the species-2 point
    int cardinal, quadrant;
  };
  const Row rows[] = {
      {"due east", 1, 0, 2, 2},          {"45 degrees", 1, 1, 1, 2},
      {"due north", 0, 1, 1, 1},         {"135 degrees", -1, 1, 0, 1},
      {"due west", -1, 0, 0, 0},         {"225 degrees", -1, -1, 3, 0},
      {"due south", 0, -1, 3, 3},        {"315 degrees", 1, -1, 2, 3},
      {"just below 45", 1, 0.999, 2, 2}, {"just above 45", 0.999, 1, 1, 2},
  };
  for (const Row& row : rows) {
    for (int direction = 1; direction <= 3; ++direction) {
      SCOPED_TRACE(::testing::Message()
                   << row.name << ", direction " << direction);
      AnalysisState state = make_pattern(
          {{50, 50, 0}, {50 + row.dx, 50 + row.dy, 1}}, true, direction);
      run_direction(state, direction);
      // A half-plane pair in quadrant q lies in half-planes q and q + 3.
      for (int m = 0; m < 4; ++m) {
        const bool hit = direction == 1 ? m == row.cardinal
                         : direction == 2
                             ? m == row.quadrant
                             : m == row.quadrant || m == (row.quadrant + 3) % 4;
        const auto sector = static_cast<std::size_t>(m);
        // Both centres count it in the same sector, at t = 1.5 only.
        EXPECT_EQ(state.sector_sums_12[sector][2], hit ? 1.0 : 0.0) << m;
        EXPECT_EQ(state.sector_sums_21[sector][2], hit ? 1.0 : 0.0) << m;
        const double root = direction == 3 ? kHalfRoot : kQuarterRoot;
        EXPECT_NEAR(state.sector_l_values[sector][2], (hit ? root : 0) - 1.5,
                    1e-12);
      }
    }
  }
}

// Coincident points of different species (only in simulated patterns) are
// within every t and fall in sector or quadrant 0 as seen from either centre;
// the species-2 centre's count is then turned by two like any other.
TEST(DirectionalKl, CountsCoincidentPointsInSectorZeroOfEachCentre) {
  for (int direction = 1; direction <= 3; ++direction) {
    SCOPED_TRACE(::testing::Message() << "direction " << direction);
    AnalysisState state =
        make_pattern({{50, 50, 0}, {50, 50, 1}}, true, direction);
    run_direction(state, direction);
    const std::array<double, 4> want_12 =
        direction == 3 ? std::array<double, 4>{1, 0, 0, 1}
                       : std::array<double, 4>{1, 0, 0, 0};
    for (std::size_t m = 0; m < 4; ++m) {
      EXPECT_EQ(state.sector_sums_12[m][0], want_12[m]) << m;
      EXPECT_EQ(state.sector_sums_21[m][0], want_12[(m + 2) % 4]) << m;
    }
  }
}

// The arcs of an edge analysis, for the expected splits.
struct Arcs {
  double w_tot, x, f;
  std::array<double, 4> a;
  explicit Arcs(const EdgeAnalysis& e)
      : w_tot(e.w_tot), x(e.w_tot - 1), f(e.f), a(e.a) {}
  double h() const { return x / (4 * f); }
  double r() const { return (x - h()) / 2; }
  double u(int m) const { return x * a[m] / (kPi * f); }
  double g(int m) const { return x * (a[m] - kQuarterPi) / (2 * kPi * f); }
};

EdgeAnalysis at(double x, double y, double d) {
  return analyse_edges(100, 100, x, y, d);
}

// A west edge with the given fraction outside.
EdgeAnalysis west_edge(double f) {
  EdgeAnalysis e;
  e.crossed = 1;
  e.edge = 0;
  e.a[0] = f * kPi;
  e.f = f;
  e.w_tot = 1 / (1 - f);
  return e;
}

// The south-west corner inside the circle, with given west and south ratios.
EdgeAnalysis south_west_inside(double e_west, double e_south) {
  EdgeAnalysis e;
  e.crossed = 2;
  e.corner = 0;
  e.corner_inside = true;
  e.e = {e_west, 0, 0, e_south};
  e.a = {std::acos(e_west), 0, 0, std::acos(e_south)};
  e.f = (e.a[0] + e.a[3] + kPi / 2) / (2 * kPi);
  e.w_tot = 1 / (1 - e.f);
  return e;
}

using Want = SectorWeights (*)(const Arcs&);
struct SplitRow {
  const char* name;
  SectorWeights (*split)(int, const EdgeAnalysis&);
  int sector;
  EdgeAnalysis edges;
  Want want;
};

// (4, 3) at d = 4.5: west ratio 8/9 and south ratio 2/3, corner outside;
// a share of the missing arc in proportion to each edge's arc.
double part(const Arcs& r, int m) { return r.x * r.a[m] / (r.a[0] + r.a[3]); }

const SplitRow kSplits[] = {
    // Cardinal, one edge: west ratio 0.9 (f < 0.25) or 0.2 (f > 0.25).
    {"W, f < 0.25, pair in N", split_cardinal, 1, at(9, 50, 10),
     [](const Arcs& r) {
       return SectorWeights{r.x, 1, 0, 0};
     }},
    {"W, f < 0.25, pair in W", split_cardinal, 0, at(9, 50, 10),
     [](const Arcs& r) {
       return SectorWeights{r.w_tot, 0, 0, 0};
     }},
    {"W, f = 0.25, pair in W", split_cardinal, 0, west_edge(0.25),
     [](const Arcs& r) {
       return SectorWeights{r.w_tot, 0, 0, 0};
     }},
    {"W, f just above 0.25, pair in N", split_cardinal, 1, west_edge(0.2500001),
     [](const Arcs& r) {
       return SectorWeights{r.h(), 1 + r.r(), 0, r.r()};
     }},
    {"W, f > 0.25, pair in E", split_cardinal, 2, at(2, 50, 10),
     [](const Arcs& r) {
       return SectorWeights{r.h(), r.r(), 1, r.r()};
     }},
    {"W, f > 0.25, pair in W", split_cardinal, 0, at(2, 50, 10),
     [](const Arcs&) {
       return SectorWeights{0, 0, 0, 0};
     }},
    {"E, f > 0.25, pair in N", split_cardinal, 1, at(98, 50, 10),
     [](const Arcs& r) {
       return SectorWeights{0, 1 + r.r(), r.h(), r.r()};
     }},
    // Cardinal, corner outside.
    {"SW outside, pair in W", split_cardinal, 0, at(4, 3, 4.5),
     [](const Arcs& r) {
       return SectorWeights{1 + part(r, 0), 0, 0, part(r, 3)};
     }},
    {"SW outside, pair in N", split_cardinal, 1, at(4, 3, 4.5),
     [](const Arcs& r) {
       return SectorWeights{part(r, 0), 1, 0, part(r, 3)};
     }},
    {"NE outside, pair in S", split_cardinal, 3, at(96, 97, 4.5),
     [](const Arcs& r) {
       const double sum = r.a[1] + r.a[2];
       return SectorWeights{0, r.x * r.a[1] / sum, r.x * r.a[2] / sum, 1};
     }},
    // Cardinal, corner inside: ratios 5/8 (both spill) at (5, 5), 6/7 (no
    // spill) and 3/7 at (6, 3).
    {"SW inside, pair in W", split_cardinal, 0, at(5, 5, 8),
     [](const Arcs& r) {
       return SectorWeights{1 + r.u(0), 0, r.g(3), r.h()};
     }},
    {"SW inside, pair in N", split_cardinal, 1, at(5, 5, 8),
     [](const Arcs& r) {
       return SectorWeights{r.h(), 1 + r.g(0), r.g(3), r.h()};
     }},
    {"SW inside, pair in E", split_cardinal, 2, at(5, 5, 8),
     [](const Arcs& r) {
       return SectorWeights{r.h(), r.g(0), 1 + r.g(3), r.h()};
     }},
    {"SW inside, pair in S", split_cardinal, 3, at(5, 5, 8),
     [](const Arcs& r) {
       return SectorWeights{r.h(), r.g(0), 0, 1 + r.u(3)};
     }},
    {"SW inside, W no spill, pair in N", split_cardinal, 1, at(6, 3, 7),
     [](const Arcs& r) {
       return SectorWeights{r.u(0), 1, r.g(3), r.h()};
     }},
    {"SW inside, W ratio exactly 0.7071067", split_cardinal, 1,
     south_west_inside(kCos45, 0.5),
     [](const Arcs& r) {
       return SectorWeights{r.u(0), 1, r.g(3), r.h()};
     }},
    {"SW inside, W ratio 0.7071066", split_cardinal, 1,
     south_west_inside(0.7071066, 0.5),
     [](const Arcs& r) {
       return SectorWeights{r.h(), 1 + r.g(0), r.g(3), r.h()};
     }},
    // Diagonal: pair in NE unless named.
    {"diagonal, no edge", split_diagonal, 2, at(50, 50, 10),
     [](const Arcs&) {
       return SectorWeights{0, 0, 1, 0};
     }},
    {"diagonal, W", split_diagonal, 2, at(9, 50, 10),
     [](const Arcs& r) {
       return SectorWeights{r.x / 2, r.x / 2, 1, 0};
     }},
    {"diagonal, N, pair in SW", split_diagonal, 0, at(50, 95, 10),
     [](const Arcs& r) {
       return SectorWeights{1, r.x / 2, r.x / 2, 0};
     }},
    {"diagonal, SW outside", split_diagonal, 2, at(4, 3, 4.5),
     [](const Arcs& r) {
       return SectorWeights{r.x / 2, part(r, 0) / 2, 1, part(r, 3) / 2};
     }},
    {"diagonal, SW inside, pair in NW", split_diagonal, 1, at(5, 5, 8),
     [](const Arcs& r) {
       return SectorWeights{r.h(), 1 + r.u(0) / 2, 0, r.u(3) / 2};
     }},
    {"diagonal, NE inside, pair in SW", split_diagonal, 0, at(95, 95, 8),
     [](const Arcs& r) {
       return SectorWeights{1, r.u(1) / 2, r.h(), r.u(2) / 2};
     }},
    // Half-planes: pair in quadrant NE (half-planes N and E).
    {"half-planes, no edge", split_half_planes, 2, at(50, 50, 10),
     [](const Arcs&) {
       return SectorWeights{0, 1, 1, 0};
     }},
    {"half-planes, W", split_half_planes, 2, at(9, 50, 10),
     [](const Arcs& r) {
       return SectorWeights{r.x, 1 + r.x / 2, 1, r.x / 2};
     }},
    {"half-planes, S, pair in SW", split_half_planes, 0, at(50, 5, 10),
     [](const Arcs& r) {
       return SectorWeights{1 + r.x / 2, 0, r.x / 2, 1 + r.x};
     }},
    {"half-planes, SW outside", split_half_planes, 2, at(4, 3, 4.5),
     [](const Arcs& r) {
       const double z0 = part(r, 0) / 2, z3 = part(r, 3) / 2;
       return SectorWeights{r.x - z3, 1 + z0, 1 + z3, r.x - z0};
     }},
    {"half-planes, SW inside", split_half_planes, 2, at(6, 3, 7),
     [](const Arcs& r) {
       const double b0 = r.u(0), b3 = r.u(3);
       return SectorWeights{r.x - b3, 1 + b0, 1 + b3, r.x - b0};
     }},
};

TEST(DirectionalKl, SplitsTheEdgeCorrectedWeight) {
  for (const SplitRow& row : kSplits) {
    SCOPED_TRACE(row.name);
    const SectorWeights got = row.split(row.sector, row.edges);
    const SectorWeights want = row.want(Arcs(row.edges));
    for (std::size_t m = 0; m < 4; ++m) {
      EXPECT_NEAR(got[m], want[m], 1e-12) << "sector " << m;
      EXPECT_EQ(got[m] == 0, want[m] == 0) << "sector " << m;
    }
  }
}

// Identities of any pattern: diagonal sectors and either pair of opposite
// half-planes add up to the non-directional K; cardinal sectors do too when
// no circle reaches a plot corner.
TEST(DirectionalKl, SectorsAddUpToTheNonDirectionalK) {
  const std::vector<PointRecord> all = random_points(300, 20, 20, 11);
  std::vector<PointRecord> off_corners;  // farther than t_max = 5 from each
  for (const PointRecord& p : all) {
    const double cx = std::min(p.x, 20 - p.x), cy = std::min(p.y, 20 - p.y);
    if (std::sqrt(cx * cx + cy * cy) > 5) off_corners.push_back(p);
  }
  for (int direction = 1; direction <= 3; ++direction) {
    SCOPED_TRACE(::testing::Message() << "direction " << direction);
    const auto& points = direction == 1 ? off_corners : all;
    AnalysisState plain = make_pattern(points, true, 0, 20, 20, 0.5, 9);
    compute_kl(plain);
    AnalysisState state = make_pattern(points, true, direction, 20, 20, 0.5, 9);
    run_direction(state, direction);
    run_direction(state, direction);  // a second call starts from zero
    for (std::size_t i = 0; i < plain.k12.size(); ++i) {
      const auto& k12 = state.sector_k12;
      const auto& k21 = state.sector_k21;
      const double tolerance = 1e-12 * (plain.k12[i] + plain.k21[i]);
      if (direction == 3) {
        EXPECT_NEAR(k12[0][i] + k12[2][i], plain.k12[i], tolerance);
        EXPECT_NEAR(k12[1][i] + k12[3][i], plain.k12[i], tolerance);
        EXPECT_NEAR(k21[0][i] + k21[2][i], plain.k21[i], tolerance);
        EXPECT_NEAR(k21[1][i] + k21[3][i], plain.k21[i], tolerance);
        continue;
      }
      EXPECT_NEAR(k12[0][i] + k12[1][i] + k12[2][i] + k12[3][i], plain.k12[i],
                  tolerance);
      EXPECT_NEAR(k21[0][i] + k21[1][i] + k21[2][i] + k21[3][i], plain.k21[i],
                  tolerance);
    }
  }
}

// The sector sums formed the plain way: every ordered pair of different
// species, centre j outer and k inner, adds its split weight to each interval
// whose t reaches it, turned by two for a species-2 centre.
std::array<SectorTable, 2> all_pairs_sector_sums(const AnalysisState& state,
                                                 int direction) {
  const auto intervals = static_cast<std::size_t>(state.last_interval) + 1;
  std::array<SectorTable, 2> sums;
  for (auto& table : sums) {
    for (auto& sector : table) sector.assign(intervals, 0.0);
  }
  const auto& p = state.points;
  for (std::size_t j = 0; j < p.size(); ++j) {
    for (std::size_t k = 0; k < p.size(); ++k) {
      if (p[k].species == p[j].species) continue;
      const double dx = p[j].x - p[k].x;
      const double dy = p[j].y - p[k].y;
      const double d = std::sqrt(dx * dx + dy * dy);
      const EdgeAnalysis edges =
          analyse_edges(state.x_axis, state.y_axis, p[j].x, p[j].y, d);
      const SectorWeights w =
          direction == 1   ? split_cardinal(cardinal_sector(dx, dy), edges)
          : direction == 2 ? split_diagonal(quadrant(dx, dy), edges)
                           : split_half_planes(quadrant(dx, dy), edges);
      const bool centre_21 = p[j].species != 0;
      for (std::size_t m = 0; m < 4; ++m) {
        for (std::size_t i = 0; i < intervals; ++i) {
          if (d <= state.t_of(static_cast<std::int32_t>(i))) {
            sums[centre_21 ? 1 : 0][m][i] += w[centre_21 ? (m + 2) % 4 : m];
          }
        }
      }
    }
  }
  return sums;
}

TEST(DirectionalKl, AddsEveryWeightInTheOrderOfTheAllPairsLoop) {
  // Lattice points of the step's spacing put many distances exactly on a t
  // value; the doubled ones coincide with a point of the other species.
  std::vector<PointRecord> lattice;
  for (int row = 0, i = 0; row <= 18; ++row) {
    for (int col = 0; col <= 24; ++col, ++i) {
      lattice.push_back({0.5 * col, 0.5 * row, i % 3 == 0 ? 1 : 0});
      if (i % 17 == 0) lattice.push_back({0.5 * col, 0.5 * row, 1});
    }
  }
  struct Row {
    const char* name;
    std::vector<PointRecord> points;
    double x_axis, y_axis, step;
    int last_interval;
  };
  const Row rows[] = {
      {"random points near every edge", random_points(400, 30, 20, 5), 30, 20,
       0.7, 13},
      {"lattice, distances on the t values", lattice, 12, 9, 0.5, 8},
  };
  for (const Row& row : rows) {
    for (int direction = 1; direction <= 3; ++direction) {
      SCOPED_TRACE(::testing::Message()
                   << row.name << ", direction " << direction);
      AnalysisState state =
          make_pattern(row.points, true, direction, row.x_axis, row.y_axis,
                       row.step, row.last_interval);
      const auto want = all_pairs_sector_sums(state, direction);
      run_direction(state, direction);
      for (std::size_t m = 0; m < 4; ++m) {
        // Bit for bit: EXPECT_EQ on doubles compares exactly.
        EXPECT_EQ(state.sector_sums_12[m], want[0][m]) << "sector " << m;
        EXPECT_EQ(state.sector_sums_21[m], want[1][m]) << "sector " << m;
      }
    }
  }
}

}  // namespace
}  // namespace qlor
