// Complete spatial randomness on the simulation grid.
#pragma once

#include <memory>

#include "simulation/null_model.h"

namespace qlor {

/// Every regenerated point an independent grid draw, redrawn while it
/// coincides with a point already placed. Fails with kCsrFailure when the
/// grid cannot hold the points.
[[nodiscard]] std::unique_ptr<NullModel> make_csr_model(
    RandomizeMode randomize_mode);

}  // namespace qlor
