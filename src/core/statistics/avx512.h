// What the estimator's AVX-512 loops share: the intrinsics, and the mask of
// a vector's live lanes at the end of a run.
#pragma once

#include "statistics/kernel_isa.h"

#ifdef QLOR_WIDE_KERNELS
#include <cstddef>

// GCC 12's AVX-512 header trips its own -Wmaybe-uninitialized (GCC bug
// 105593).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop

namespace qlor {

/// The lanes of an 8-lane vector that hold one of the `left` elements still
/// to go: all eight, or the first `left` of them.
[[gnu::always_inline]] inline __mmask8 live_lanes(std::size_t left) {
  return left >= 8 ? 0xFF : static_cast<__mmask8>((1u << left) - 1);
}

}  // namespace qlor
#endif
