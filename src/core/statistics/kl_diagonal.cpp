// The weight split of the 90-degree diagonal sectors SW, NW, NE, SE. The
// missing arc of edge m is centred on the boundary between sectors m and
// (m + 1) mod 4 and split evenly between them.
#include "statistics/kl_directional.h"

namespace qlor {

SectorWeights split_diagonal(int q, const EdgeAnalysis& edges) {
  SectorWeights w{};
  w[q] = 1.0;
  if (edges.crossed == 0) return w;
  const double f = edges.f;
  const double x = edges.w_tot - 1;  // the excess weight

  SectorWeights share{};
  if (edges.crossed == 1) {
    const int m = edges.edge;
    share[m] = x / 2;
    share[(m + 1) % 4] = x / 2;
  } else {
    const int c = edges.corner;
    const int c2 = (c + 3) % 4;
    // Corner sector c: half of each edge's arc when the corner lies outside
    // the circle, a quarter circle's share when it lies inside; the far
    // neighbours take the rest of each edge's arc.
    share[c] = edges.corner_inside ? x * 0.25 / f : x / 2;
    share[(c + 1) % 4] = x * edges.a[c] / (2.0 * kPi * f);
    share[c2] = x * edges.a[c2] / (2.0 * kPi * f);
  }
  for (std::size_t m = 0; m < 4; ++m) w[m] += share[m];
  return w;
}

}  // namespace qlor
