// Random labelling: the positions of both species stay, and a uniformly
// random set of n1 of them is species 1 (Goreaud and Pelissier 2003).
#pragma once

#include <memory>

#include "simulation/null_model.h"

namespace qlor {

/// Every pattern the observed positions with the observed labels shuffled
/// by Fisher and Yates through the pattern's draws: each labelling with n1
/// points of species 1 equally likely.
[[nodiscard]] std::unique_ptr<NullModel> make_random_labelling_model();

}  // namespace qlor
