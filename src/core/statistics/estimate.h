// The estimator chosen by the direction setting.
#pragma once

#include <cstdint>

#include "statistics/kl_directional.h"
#include "statistics/kl_estimator.h"

namespace qlor {

/// Estimates L(t) - t of the pattern in `points` by the direction setting.
inline void estimate_pattern(AnalysisState& state, Direction direction_index,
                             PairScratch& scratch) {
  switch (direction_index) {
    case Direction::kCardinal:
      compute_kl_cardinal(state, scratch);
      break;
    case Direction::kDiagonal:
      compute_kl_diagonal(state, scratch);
      break;
    case Direction::kHalfPlanes:
      compute_kl_half_planes(state, scratch);
      break;
    case Direction::kNone:
      compute_kl(state, scratch);
  }
}

}  // namespace qlor
