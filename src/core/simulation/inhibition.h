// Simple sequential inhibition (c = 0) and the sequential Strauss-type
// inhibition (0 < c <= 1).
#pragma once

#include <memory>

#include "simulation/null_model.h"

namespace qlor {

inline constexpr const char* kSsiFailure =
    "Failure to create SSI-plot - 'r_inhibit' too large to generate all "
    "points  ";

/// Points placed one after another on the simulation grid; a position with
/// k placed points closer than the radius is refused (c = 0) or kept with
/// probability c^k. Fails with kSsiFailure after 20 failed attempts.
[[nodiscard]] std::unique_ptr<NullModel> make_inhibition_model(
    RandomizeMode randomize_mode);

}  // namespace qlor
