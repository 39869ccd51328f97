// The pair correlation function g(t) of one pattern, by the Epanechnikov
// kernel over the pairs' distances or by rings between the run's distances,
// with the isotropic edge weights of K.
#pragma once

#include <vector>

#include "model/analysis_state.h"
#include "statistics/kernel_isa.h"
#include "statistics/pair_kernel.h"

namespace qlor {

/// Kernel sums at every distance t_i of the run: S_i = sum over ordered
/// pairs (j, k), j != k, of k_h(t_i - d_jk) * w_jk, with k_h(u) = 3 / (4h) *
/// (1 - u^2 / h^2) for |u| < h and w_jk the isotropic edge weight of the
/// circle of radius d_jk around j. A bivariate pattern's pairs join points
/// of different species: `sums_12` gets the species-1 centres', `sums_21`
/// the species-2 centres'; a univariate pattern's go to `sums_12`. Pairs are
/// added centre j ascending, then k ascending, so every variant and thread
/// gives the same bits. t_max + h must not exceed half the shorter side.
void pcf_kernel_sums(const AnalysisState& state, double h, PairScratch& scratch,
                     std::vector<double>& sums_12, std::vector<double>& sums_21,
                     KernelIsa isa);
/// The same with each pair's term times scale[j] * scale[k] (the inverse
/// intensities of an inhomogeneous g; nullptr: 1).
void pcf_kernel_sums(const AnalysisState& state, double h, const double* scale,
                     PairScratch& scratch, std::vector<double>& sums_12,
                     std::vector<double>& sums_21, KernelIsa isa);
void pcf_kernel_sums(const AnalysisState& state, double h, PairScratch& scratch,
                     std::vector<double>& sums_12,
                     std::vector<double>& sums_21);

/// g(t_i) of the pattern by the kernel: A S_i / (2 pi t_i n^2), bivariate
/// g12 and g21 (n1 n2 in place of n^2) combined as (n2 g12 + n1 g21) /
/// (n1 + n2). With `o_ring` the O-ring statistic: each of g, g12, g21 times
/// the density of its partners.
void compute_pcf_kernel(AnalysisState& state, double h, bool o_ring,
                        PairScratch& scratch, std::vector<double>& values);

/// g(t_i) by rings: (K(t_i) - K(t_(i-1))) / (pi (t_i^2 - t_(i-1)^2)), where
/// t_(-1) = t_0 - step (K(0) = 0), from the run's K. `o_ring` as above.
void compute_pcf_ring(AnalysisState& state, bool o_ring, PairScratch& scratch,
                      std::vector<double>& values);

/// The largest half-width a run allows: half the plot's shorter side minus
/// t_max, where the edge weights stop being valid.
[[nodiscard]] double largest_bandwidth(const RunParameters& parameters);

/// Stoyan's rule for the half-width: 0.15 / sqrt(lambda), lambda = n / A.
[[nodiscard]] double default_bandwidth(const RunParameters& parameters);

}  // namespace qlor
