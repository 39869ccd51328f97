#include "statistics/edge_weight.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <random>
#include <vector>

#include "statistics/edge_batch.h"
#include "statistics/kernel_isa.h"

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

// The batched weights of a centre's circles are analyse_edges' bit for bit,
// on the boundaries where the tests flip as well as at random, and whether
// the circles up to the largest radius can reach both pairs of edges, one
// pair (the largest radius just touching the other) or none.
TEST(EdgeWeight, BatchedWeightsAreTheSameBits) {
  struct Centre {
    double x_axis, y_axis, x, y, reach;
  };
  const Centre centres[] = {
      {100, 100, 50, 50, 200},   {100, 100, 5, 50, 200},
      {100, 100, 95, 97.5, 200}, {100, 100, 3, 4, 200},
      {100, 100, 0, 0, 200},     {100, 100, 100, 0.25, 200},
      {12, 9, 6, 4.5, 200},      {10, 60, 0.01, 59.99, 200},
      {100, 100, 5, 50, 30},     {100, 100, 5, 30, 30},
      {100, 100, 50, 97.5, 30},  {100, 100, 70, 50, 30},
      {100, 100, 50, 50, 30},
  };
  std::mt19937_64 gen(5);
  std::uniform_real_distribution<double> radius(0, 30);
  for (const Centre& c : centres) {
    SCOPED_TRACE(::testing::Message() << c.x << ", " << c.y);
    // Radii exactly at each edge distance, at each corner distance and
    // one ulp either side, then random ones.
    std::vector<double> d = {0.0};
    for (const double at :
         {c.x, c.y, c.x_axis - c.x, c.y_axis - c.y, std::hypot(c.x, c.y),
          std::sqrt(c.x * c.x + (c.y_axis - c.y) * (c.y_axis - c.y)),
          std::sqrt((c.x_axis - c.x) * (c.x_axis - c.x) + c.y * c.y),
          std::sqrt((c.x_axis - c.x) * (c.x_axis - c.x) +
                    (c.y_axis - c.y) * (c.y_axis - c.y))}) {
      d.insert(d.end(),
               {std::nextafter(at, 0.0), at, std::nextafter(at, HUGE_VAL)});
    }
    for (int i = 0; i < 300; ++i) d.push_back(radius(gen));
    std::erase_if(d, [&](double r) { return r > c.reach; });
    const auto check = [&](const EdgeBatch& batch, std::size_t arcs) {
      std::size_t crossings = 0;
      for (std::size_t q = 0; q < d.size(); ++q) {
        const EdgeAnalysis want =
            analyse_edges(c.x_axis, c.y_axis, c.x, c.y, d[q]);
        crossings += static_cast<std::size_t>(want.crossed);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(batch.weights[q]),
                  std::bit_cast<std::uint64_t>(want.w_tot))
            << "d = " << std::hexfloat << d[q];
      }
      EXPECT_EQ(arcs, crossings);
    };
    const EdgeCentre centre(c.x_axis, c.y_axis, c.x, c.y, c.reach);
    EdgeBatch batch;
    batch.resize(d.size());
    check(batch, edge_weights(centre, d.data(), d.size(), batch));
#ifdef QLOR_WIDE_KERNELS
    const std::vector<KernelIsa> isas = supported_kernel_isas();
    if (std::find(isas.begin(), isas.end(), KernelIsa::kAvx2) != isas.end()) {
      EdgeBatch four;
      four.resize(d.size());
      check(four, edge_weights<4>(centre, d.data(), d.size(), four));
    }
    if (isas.back() == KernelIsa::kAvx512) {
      EdgeBatch wide;
      wide.resize(d.size());
      check(wide, edge_weights<8>(centre, d.data(), d.size(), wide));
    }
#endif
  }
}

// The arc cosines of every instruction set's kernel, their exact products by
// fused multiply-adds and (AVX2) their terms read by rows, against the plain
// fixed_acos bit for bit: where the branches meet, around the table's
// entries j / 128 and their midpoints, at 1 and 0, down to subnormals, and at
// random.
template <int W>
[[gnu::always_inline]] inline void arc_cosines_kernel(const double* in,
                                                      double* out,
                                                      std::size_t n) {
  arc_cosines<W>(in, out, n);
}

TEST(EdgeWeight, ArcCosinesOfEveryKernelAreThePlainOnes) {
  std::vector<double> x = {0.0,  -0.0,   1.0,     -1.0,     0.5,
                           -0.5, 1e-310, -1e-310, 0x1p-1074};
  for (int j = 0; j <= 128; ++j) {
    for (const double at : {j / 128.0, (j + 0.5) / 128.0}) {
      // As |x| and, past 1/2, as the square root of (1 - x) / 2.
      for (const double v : {at, 1 - 2 * at * at}) {
        for (const double e :
             {std::nextafter(v, -2.0), v, std::nextafter(v, 2.0)}) {
          if (std::fabs(e) <= 1) x.insert(x.end(), {e, -e});
        }
      }
    }
  }
  std::mt19937_64 gen(11);
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  for (int i = 0; i < 100000; ++i) {
    x.push_back(i % 3 == 0 ? 1.0 - std::ldexp(std::fabs(u(gen)), -(i % 53))
                           : u(gen));
  }
  const std::size_t n = x.size();
  x.resize(n + 8, 0.0);  // room for whole vectors
  for (const KernelIsa isa : supported_kernel_isas()) {
    SCOPED_TRACE(kernel_isa_name(isa));
    std::vector<double> got(x.size());
    run_kernel<arc_cosines_kernel<1>, arc_cosines_kernel<4>,
               arc_cosines_kernel<8>>(isa, x.data(), got.data(), n);
    std::size_t differ = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const bool same = std::bit_cast<std::uint64_t>(got[i]) ==
                        std::bit_cast<std::uint64_t>(fixed_acos(x[i]));
      if (!same && differ++ < 5) {
        ADD_FAILURE() << "acos(" << std::hexfloat << x[i] << ")";
      }
    }
    EXPECT_EQ(differ, 0u);
  }
}

}  // namespace
}  // namespace qlor
