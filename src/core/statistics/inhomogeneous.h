// The inhomogeneous K, L and g of one pattern (Baddeley, Moller and
// Waagepetersen 2000): each pair's edge-corrected term divided by the
// intensities at both of its points.
#pragma once

#include <vector>

#include "model/analysis_state.h"
#include "model/intensity.h"
#include "statistics/kernel_isa.h"
#include "statistics/pair_kernel.h"

namespace qlor {

/// The intensity at every point of the pattern of `state`, by point index:
/// the kernel estimate from the pattern's own points (each species from its
/// own), or the grid's cell values. Returns "" or the message for a point
/// whose intensity is 0 or not finite, which an inhomogeneous estimate
/// cannot divide by.
[[nodiscard]] Status intensity_at_points(const AnalysisState& state,
                                         const Intensity& intensity,
                                         std::vector<double>& lambda);

/// sums_12[i] = sum over ordered pairs (j, k), j != k, d_jk <= t_i, of w_jk
/// scale[j] scale[k], w_jk the isotropic edge weight of the circle around
/// j. Pairs as pcf_kernel_sums pairs them. Each pair's term is added once,
/// to the first distance that reaches it, in a fixed order (centre
/// ascending, then the cell grid's), and the sums accumulated over the
/// distances afterwards: the same bits on every instruction set.
void weighted_pair_sums(const AnalysisState& state,
                        const std::vector<double>& scale, PairScratch& scratch,
                        std::vector<double>& sums_12,
                        std::vector<double>& sums_21, KernelIsa isa);
void weighted_pair_sums(const AnalysisState& state,
                        const std::vector<double>& scale, PairScratch& scratch,
                        std::vector<double>& sums_12,
                        std::vector<double>& sums_21);

/// L_inhom(t_i) - t_i with K_inhom = sums / A and scale = 1 / lambda;
/// bivariate K12 and K21 combined as K's are, (n2 K12 + n1 K21) / (n1 +
/// n2).
void compute_l_inhom(const AnalysisState& state,
                     const std::vector<double>& scale, PairScratch& scratch,
                     std::vector<double>& values);

/// g_inhom(t_i) = S_i / (2 pi t_i A) with the kernel sums of half-width h
/// and scale = 1 / lambda; bivariate combined as g's are.
void compute_g_inhom(const AnalysisState& state,
                     const std::vector<double>& scale, double h,
                     PairScratch& scratch, std::vector<double>& values);

}  // namespace qlor
