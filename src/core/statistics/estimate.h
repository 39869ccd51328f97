// The estimator chosen by the direction setting.
#pragma once

#include <cstdint>

#include "statistics/kl_directional.h"
#include "statistics/kl_estimator.h"

namespace qlor {

/// Estimates L(t) - t of the pattern in `points` by the direction setting.
inline void estimate_pattern(AnalysisState& state, std::int32_t direction_index,
                             PairScratch& scratch) {
  switch (direction_index) {
    case 1:
      compute_kl_cardinal(state, scratch);
      break;
    case 2:
      compute_kl_diagonal(state, scratch);
      break;
    case 3:
      compute_kl_half_planes(state, scratch);
      break;
    default:
      compute_kl(state, scratch);
  }
}

}  // namespace qlor
