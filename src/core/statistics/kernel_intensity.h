// The Gaussian kernel estimate of the intensity at the points of a pattern,
// leaving each point out of its own estimate and corrected for the kernel's
// mass outside the plot: lambda(x_i) = sum over j != i of phi_sigma(x_i -
// x_j) / e(x_i). The same bits on every instruction set: the exponential is
// made of basic IEEE operations, and each sum adds its terms in a fixed
// order whatever the vector width.
#pragma once

#include <vector>

#include "model/analysis_state.h"
#include "statistics/kernel_isa.h"

namespace qlor {

/// e^a for -39.2 <= a <= 0 (the range where the kernel is summed): range
/// reduction by powers of two and a polynomial, from additions and
/// multiplications alone, within about two units in the last place.
[[nodiscard]] double kernel_exp(double a);

/// Terms below 1e-17 of the kernel's peak are left out: pairs farther apart
/// than sqrt(2 ln 1e17) sigma.
inline constexpr double kKernelCutoffExponent = 39.14394658089878;  // ln 1e17

/// The kernel intensity at every point of `points` from the points of its
/// own species (all points when `by_species` is false), by point index.
void kernel_intensity_at_points(const std::vector<PointRecord>& points,
                                bool by_species, double x_axis, double y_axis,
                                double sigma, std::vector<double>& lambda,
                                KernelIsa isa);
void kernel_intensity_at_points(const std::vector<PointRecord>& points,
                                bool by_species, double x_axis, double y_axis,
                                double sigma, std::vector<double>& lambda);

}  // namespace qlor
