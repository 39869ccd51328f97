// The weight split of the 90-degree cardinal sectors W, N, E, S. The missing
// arc of an edge is centred on that edge's own sector; beyond a quarter
// circle it spills into the two neighbouring sectors.
#include "statistics/kl_directional.h"

namespace qlor {

SectorWeights split_cardinal(int s, const EdgeAnalysis& edges) {
  SectorWeights w{};
  if (edges.crossed == 0) {
    w[s] = 1.0;
    return w;
  }
  const double f = edges.f;
  const double x = edges.w_tot - 1;  // the excess weight
  const double h = x * 0.25 / f;     // a quarter circle's share
  const double r = (x - h) / 2;

  if (edges.crossed == 1) {
    const int m = edges.edge;
    if (f <= 0.25) {
      if (s == m) {
        w[m] = edges.w_tot;
      } else {
        w[s] = 1.0;
        w[m] = x;
      }
    } else if (s == (m + 2) % 4) {
      w[s] = 1.0;
      w[m] = h;
      w[(m + 1) % 4] = r;
      w[(m + 3) % 4] = r;
    } else if (s != m) {
      w[m] = h;
      w[s] = 1 + r;
      w[(s + 2) % 4] = r;
    }
    // s == m with f > 0.25: sector m's whole arc lies outside the plot, so
    // no point of the plot lies there and the pair adds nothing.
    return w;
  }

  const int c = edges.corner;
  const int c2 = (c + 3) % 4;
  const double u_c = x * edges.a[c] / (kPi * f);
  const double u_c2 = x * edges.a[c2] / (kPi * f);
  if (!edges.corner_inside) {
    if (s == c) {
      w[c] = 1 + u_c;
      w[c2] = u_c2;
    } else if (s == c2) {
      w[c2] = 1 + u_c2;
      w[c] = u_c;
    } else {
      w[s] = 1.0;
      w[c] = u_c;
      w[c2] = u_c2;
    }
    return w;
  }

  // The corner lies inside the circle. Each crossed edge keeps its arc in
  // its own sector unless the arc reaches beyond 45 degrees on the side away
  // from the corner; then its sector gets a quarter circle's share and the
  // neighbour `far` the spill.
  auto share_edge = [&](int edge, int far, double u) {
    if (s == edge) {
      w[edge] = 1 + u;
      return;
    }
    if (edges.e[edge] >= kCos45) {
      w[edge] = u;
      if (s == far) w[s] = 1.0;
      return;
    }
    const double g = x * (edges.a[edge] / kPi - kQuarterPi / kPi) / (2 * f);
    w[edge] = h;
    w[far] = s == far ? 1 + g : g;
  };
  share_edge(c, (c + 1) % 4, u_c);
  share_edge(c2, (c + 2) % 4, u_c2);
  return w;
}

}  // namespace qlor
