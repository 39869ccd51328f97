// What the estimator's AVX-512 loops share: the intrinsics, the mask of a
// vector's live lanes at the end of a run, and the packing of kept lanes.
#pragma once

#include "statistics/kernel_isa.h"

#ifdef QLOR_WIDE_KERNELS
#include <cstddef>
#include <cstdint>

// GCC 12's AVX-512 header trips its own -Wmaybe-uninitialized (GCC bug
// 105593); clang has no such warning and would warn about the name.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#pragma GCC diagnostic pop
#else
#include <immintrin.h>
#endif

namespace qlor {

/// The lanes of an 8-lane vector that hold one of the `left` elements still
/// to go: all eight, or the first `left` of them.
[[gnu::always_inline]] inline __mmask8 live_lanes(std::size_t left) {
  return left >= 8 ? 0xFF : static_cast<__mmask8>((1u << left) - 1);
}

/// Appends the lanes of `values` and of the eight 32-bit `ids` that `keep`
/// selects to values_out and ids_out, compressed in registers and stored
/// whole (a compress straight to memory is slow on some processors): both
/// arrays need room for one vector beyond the kept lanes. Returns their
/// number.
[[gnu::always_inline]] QLOR_TARGET_AVX512 inline std::size_t append_kept(
    __mmask8 keep, __m512d values, __m512i ids, double* values_out,
    std::int32_t* ids_out) {
  _mm512_storeu_pd(values_out, _mm512_maskz_compress_pd(keep, values));
  _mm256_storeu_si256(
      reinterpret_cast<__m256i*>(ids_out),
      _mm512_castsi512_si256(_mm512_maskz_compress_epi32(keep, ids)));
  return static_cast<std::size_t>(__builtin_popcount(keep));
}

}  // namespace qlor
#endif
