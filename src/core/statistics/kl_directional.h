// Directional K and L of bivariate patterns: four 90-degree cardinal or
// diagonal sectors, or four 180-degree half-planes. Sector, edge and corner
// indices are shared: 0 west, 1 north, 2 east, 3 south for sectors and edges;
// corner c (0 south-west, 1 north-west, 2 north-east, 3 south-east) lies
// between edges c and (c + 3) mod 4, and diagonal sector c points at corner c.
#pragma once

#include <array>

#include "model/analysis_state.h"
#include "statistics/edge_weight.h"
#include "statistics/pair_kernel.h"

namespace qlor {

/// Fill the five sector tables for the pattern in `points`. Require the
/// sector arrays of the run and both species.
void compute_kl_cardinal(AnalysisState& state, PairScratch& scratch);
void compute_kl_diagonal(AnalysisState& state, PairScratch& scratch);
void compute_kl_half_planes(AnalysisState& state, PairScratch& scratch);

/// The cosine of 45 degrees and a quarter of pi, as the cardinal split holds
/// them (seven decimals, not the full double values).
inline constexpr double kCos45 = 0.7071067;
inline constexpr double kQuarterPi = 0.7853981;

/// A pair's weight in each of the four sectors, seen from its centre.
using SectorWeights = std::array<double, 4>;

/// The quadrant of the other point, from dx = x_centre - x_other and
/// dy = y_centre - y_other: 0 south-west (including due west), 1 north-west
/// (due north), 2 north-east (due east), 3 south-east (due south). Coincident
/// points fall in quadrant 0.
[[nodiscard]] int quadrant(double dx, double dy);

/// The 90-degree cardinal sector of the other point: each sector includes
/// its clockwise boundary (45 degrees is north, 135 west, 225 south, 315
/// east). Coincident points fall in sector 0 (west).
[[nodiscard]] int cardinal_sector(double dx, double dy);

/// Split the edge-corrected weight of a pair in sector `s` (quadrant `q`)
/// over the four sectors: the pair's own count goes to its sector(s), the
/// excess w_tot - 1 to the sectors in which the missing arcs lie.
[[nodiscard]] SectorWeights split_cardinal(int s, const EdgeAnalysis& edges);
[[nodiscard]] SectorWeights split_diagonal(int q, const EdgeAnalysis& edges);
[[nodiscard]] SectorWeights split_half_planes(int q, const EdgeAnalysis& edges);

}  // namespace qlor
