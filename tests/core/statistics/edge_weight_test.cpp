#include "statistics/edge_weight.h"

#include <gtest/gtest.h>

namespace qlor {
namespace {

// Expected weights 1 / (1 - f), worked out to 20 digits with the ten-digit
// pi 3.141592654, in a 100 x 100 plot.
constexpr double kHalfRatio = 1.49999999990207034934;   // acos(0.5) / pi
constexpr double kOnEdge = 1.99999999973885426491;      // acos(0) / pi
constexpr double kQuarterArc = 1.33333333327530092684;  // arc of pi / 4 out
constexpr double kCornerOut = 1.59453774462887664430;   // ratios 5/6, 5/6
constexpr double kCornerIn = 2.15099539654876727057;    // ratios 5/8, 5/8
// Ratios 3/5 and 4/5 on a corner at exactly distance d: the corner formula.
// (The two-edge formula would give 1.99999999973885, 1.3e-10 away.)
constexpr double kCornerOnCircle = 1.99999999986942713245;

TEST(EdgeWeight, ClosedForms) {
  struct Row {
    const char* name;
    double x, y, d, want, tolerance;
  };
  const Row rows[] = {
      {"no edge", 50, 50, 10, 1.0, 0},
      {"x - d exactly 0", 10, 50, 10, 1.0, 0},
      {"x + d exactly x_axis", 90, 50, 10, 1.0, 0},
      {"y - d exactly 0", 50, 10, 10, 1.0, 0},
      {"y + d exactly y_axis", 50, 90, 10, 1.0, 0},
      {"coincident points", 50, 50, 0, 1.0, 0},
      {"coincident points on a corner", 0, 0, 0, 1.0, 0},
      {"west edge", 5, 50, 10, kHalfRatio, 1e-13},
      {"north edge", 50, 96, 8, kHalfRatio, 1e-13},
      {"east edge", 92, 50, 16, kHalfRatio, 1e-13},
      {"south edge", 50, 2, 4, kHalfRatio, 1e-13},
      {"centre on the west edge", 0, 50, 10, kOnEdge, 1e-13},
      {"quarter circle outside", 7.0710678118654755, 50, 10, kQuarterArc,
       1e-13},
      {"south-west corner outside", 5, 5, 6, kCornerOut, 1e-13},
      {"north-east corner outside", 95, 95, 6, kCornerOut, 1e-13},
      {"south-west corner inside", 5, 5, 8, kCornerIn, 1e-13},
      {"north-west corner inside", 5, 95, 8, kCornerIn, 1e-13},
      {"south-west corner on the circle", 3, 4, 5, kCornerOnCircle, 1e-13},
      {"north-east corner on the circle", 97, 96, 5, kCornerOnCircle, 1e-13},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_NEAR(edge_weight(100, 100, row.x, row.y, row.d), row.want,
                row.tolerance);
  }
}

TEST(EdgeWeight, NamesTheCrossedEdgeOrCorner) {
  struct Row {
    double x, y, d;
    int crossed, edge, corner;
    bool corner_inside;
  };
  const Row rows[] = {
      {5, 50, 10, 1, 0, -1, false},  {50, 95, 10, 1, 1, -1, false},
      {95, 50, 10, 1, 2, -1, false}, {50, 5, 10, 1, 3, -1, false},
      {5, 5, 8, 2, -1, 0, true},     {5, 95, 8, 2, -1, 1, true},
      {95, 95, 6, 2, -1, 2, false},  {95, 5, 6, 2, -1, 3, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.x << ", " << row.y);
    const EdgeAnalysis edges = analyse_edges(100, 100, row.x, row.y, row.d);
    EXPECT_EQ(edges.crossed, row.crossed);
    EXPECT_EQ(edges.edge, row.edge);
    EXPECT_EQ(edges.corner, row.corner);
    EXPECT_EQ(edges.corner_inside, row.corner_inside);
  }
}

}  // namespace
}  // namespace qlor
