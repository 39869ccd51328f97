// The weight split of the 180-degree half-planes W, N, E, S. A pair in
// quadrant q lies in half-planes q and (q + 3) mod 4; an edge's own
// half-plane takes the whole missing arc of the edge, the two perpendicular
// half-planes half of it each, so W + E and N + S each see the excess once.
#include "statistics/kl_directional.h"

namespace qlor {

SectorWeights split_half_planes(int q, const EdgeAnalysis& edges) {
  SectorWeights w{};
  w[q] = 1.0;
  w[(q + 3) % 4] = 1.0;
  if (edges.crossed == 0) return w;
  const double f = edges.f;
  const double x = edges.w_tot - 1;  // the excess weight

  SectorWeights share{};
  if (edges.crossed == 1) {
    const int m = edges.edge;
    share[m] = x;
    share[(m + 1) % 4] = x / 2;
    share[(m + 3) % 4] = x / 2;
  } else {
    const int c = edges.corner;
    const int c2 = (c + 3) % 4;
    // Each edge's share of the whole missing arc: a_c / (2 pi f) of it when
    // the corner lies outside the circle, a_c / (pi f) when it lies inside.
    const double scale = edges.corner_inside ? kPi * f : 2.0 * kPi * f;
    const double z_c = x * edges.a[c] / scale;
    const double z_c2 = x * edges.a[c2] / scale;
    share[c] = x - z_c2;
    share[(c + 1) % 4] = z_c;
    share[(c + 2) % 4] = z_c2;
    share[c2] = x - z_c;
  }
  for (std::size_t m = 0; m < 4; ++m) w[m] += share[m];
  return w;
}

}  // namespace qlor
