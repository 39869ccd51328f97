// The toroidal shift: species 1 stays, and species 2 moves as a whole by one
// uniformly random vector, wrapped around the plot as on a torus (Lotwick
// and Silverman 1982).
#pragma once

#include <memory>

#include "simulation/null_model.h"

namespace qlor {

/// Every pattern species 2's observed points moved by (u X, v Y), u and v
/// uniform in [0, 1) from the pattern's draws, each coordinate that reaches
/// the plot's side taken back by it: x + u X - X when x + u X >= X.
[[nodiscard]] std::unique_ptr<NullModel> make_toroidal_shift_model();

}  // namespace qlor
