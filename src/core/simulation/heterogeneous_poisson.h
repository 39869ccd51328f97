// The heterogeneous Poisson process with the number of points fixed: each
// regenerated point independent, with density proportional to the run's
// intensity over the plot.
#pragma once

#include <memory>

#include "model/intensity.h"
#include "simulation/null_model.h"

namespace qlor {

/// A grid intensity: a lattice point drawn uniformly, kept with probability
/// lambda(u) / max lambda. A kernel intensity, lambda(u) = sum over the
/// observed points x_j of phi_sigma(u - x_j) / e(u): one observed point
/// drawn uniformly, a Gaussian step from it, kept when inside the plot with
/// probability e_min / e(u), and put on the lattice cell it falls in. Both
/// are exact rejection samplers; a point that falls on one already placed is
/// drawn again. Each species moved (as the randomise setting says) follows
/// its own intensity.
[[nodiscard]] std::unique_ptr<NullModel> make_heterogeneous_poisson_model(
    RandomizeMode randomize_mode, const Intensity& intensity);

inline constexpr const char* kHeterogeneousFailure =
    "Failure to create the heterogeneous Poisson pattern - the intensity "
    "leaves too few free lattice points  ";

}  // namespace qlor
