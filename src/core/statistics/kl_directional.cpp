// The framework of the directional estimators: the shared pair loop, the
// accumulation by the species-1 point's view, and the sector K and L.
#include "statistics/kl_directional.h"

#include <algorithm>
#include <cmath>

#include "statistics/interval_sums.h"

namespace qlor {

namespace {

enum class SectorShape { kQuarter, kHalf };

template <class SectorOf, class Split>
void compute_sectors(AnalysisState& state, PairScratch& scratch,
                     SectorOf sector_of, Split split, SectorShape shape) {
  const std::vector<double> t = interval_distances(state);
  for (auto* table : {&state.sector_sums_12, &state.sector_sums_21}) {
    for (auto& sums : *table) std::fill(sums.begin(), sums.end(), 0.0);
  }

  const auto& points = state.points;
  for_each_weighted_pair(
      state, t, /*bivariate=*/true, scratch,
      [&](std::size_t j, std::size_t k, std::size_t first,
          const EdgeAnalysis& edges) {
        const PointRecord& centre = points[j];
        const PointRecord& other = points[k];
        const SectorWeights w =
            split(sector_of(centre.x - other.x, centre.y - other.y), edges);
        // A species-2 centre sees the species-1 point in the opposite
        // direction: turning the index by two makes both groups count by
        // the species-2 point's direction from the species-1 point.
        const bool centre_21 = centre.species != 0;
        SectorTable& sums =
            centre_21 ? state.sector_sums_21 : state.sector_sums_12;
        for (std::size_t m = 0; m < 4; ++m) {
          const double wm = w[centre_21 ? (m + 2) % 4 : m];
          // Weights are never negative, so skipping a zero leaves every sum
          // as the all-pairs loop forms it.
          if (wm != 0.0) add_from(sums[m], first, wm);
        }
      });

  const double area = state.x_axis * state.y_axis;
  const double n1 = state.n_species1;
  const double n2 = state.n_species2;
  for (std::size_t m = 0; m < 4; ++m) {
    for (std::size_t i = 0; i < t.size(); ++i) {
      const double k12 = area * state.sector_sums_12[m][i] / (n1 * n2);
      const double k21 = area * state.sector_sums_21[m][i] / (n1 * n2);
      state.sector_k12[m][i] = k12;
      state.sector_k21[m][i] = k21;
      const double weighted = n2 * k12 + n1 * k21;
      // A quarter circle scales by 2 outside the root, a half circle by 2
      // inside it, so that a pattern without interaction gives L near 0.
      state.sector_l_values[m][i] =
          shape == SectorShape::kQuarter
              ? 2.0 * std::sqrt(weighted / ((n1 + n2) * kPi)) - t[i]
              : std::sqrt(2.0 * weighted / ((n1 + n2) * kPi)) - t[i];
    }
  }
}

}  // namespace

int quadrant(double dx, double dy) {
  if (dx >= 0 && dy < 0) return 1;
  if (dx < 0 && dy <= 0) return 2;
  if (dx <= 0 && dy > 0) return 3;
  return 0;  // dx > 0 and dy >= 0, or coincident points
}

int cardinal_sector(double dx, double dy) {
  switch (quadrant(dx, dy)) {
    case 1:
      return -dy > dx ? 1 : 0;
    case 2:
      return -dy < -dx ? 2 : 1;
    case 3:
      return dy > -dx ? 3 : 2;
    default:
      // Coincident points (dx = dy = 0) give 0 < 0, false, and so would
      // fall in S; they belong to W.
      if (dx == 0 && dy == 0) return 0;
      return dy < dx ? 0 : 3;
  }
}

void compute_kl_cardinal(AnalysisState& state, PairScratch& scratch) {
  compute_sectors(state, scratch, cardinal_sector, split_cardinal,
                  SectorShape::kQuarter);
}

void compute_kl_diagonal(AnalysisState& state, PairScratch& scratch) {
  compute_sectors(state, scratch, quadrant, split_diagonal,
                  SectorShape::kQuarter);
}

void compute_kl_half_planes(AnalysisState& state, PairScratch& scratch) {
  compute_sectors(state, scratch, quadrant, split_half_planes,
                  SectorShape::kHalf);
}

}  // namespace qlor
