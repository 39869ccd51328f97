// What the estimator's AVX2 loops share: the packing of kept lanes, which
// AVX2 has no compress instruction for, by permutations from a table.
#pragma once

#include "statistics/avx512.h"  // the intrinsics, included past GCC's warning
#include "statistics/kernel_isa.h"

#ifdef QLOR_WIDE_KERNELS
#include <cstddef>
#include <cstdint>

namespace qlor {

namespace avx2_detail {

// For each 4-bit mask of kept lanes, the 32-bit lanes that move to the
// front, in order: for doubles (two 32-bit lanes each) and for 32-bit ids.
struct KeptPermutations {
  alignas(32) std::int32_t doubles[16][8];
  alignas(32) std::int32_t ids[16][8];
};

constexpr KeptPermutations make_kept_permutations() {
  KeptPermutations p{};
  for (int mask = 0; mask < 16; ++mask) {
    int at = 0;
    for (int lane = 0; lane < 4; ++lane) {
      if ((mask >> lane & 1) == 0) continue;
      p.doubles[mask][2 * at] = 2 * lane;
      p.doubles[mask][2 * at + 1] = 2 * lane + 1;
      p.ids[mask][at] = lane;
      ++at;
    }
  }
  return p;
}

inline constexpr KeptPermutations kKept = make_kept_permutations();

}  // namespace avx2_detail

/// The lanes of a 4-lane vector that hold one of the `left` elements still
/// to go, as a mask vector for masked loads.
[[gnu::always_inline]] QLOR_TARGET_AVX2 inline __m256i live_lanes_avx2(
    std::size_t left) {
  const __m256i lanes = _mm256_setr_epi64x(0, 1, 2, 3);
  return _mm256_cmpgt_epi64(
      _mm256_set1_epi64x(static_cast<long long>(left < 4 ? left : 4)), lanes);
}

/// Appends the lanes of `values` and of the four 32-bit `ids` that the
/// 4-bit `keep` selects to values_out and ids_out, moved to the front by a
/// permutation and stored whole: both arrays need room for one vector
/// beyond the kept lanes. Returns their number.
[[gnu::always_inline]] QLOR_TARGET_AVX2 inline std::size_t append_kept_avx2(
    int keep, __m256d values, __m128i ids, double* values_out,
    std::int32_t* ids_out) {
  const auto* perm = avx2_detail::kKept.doubles[keep];
  const auto* id_perm = avx2_detail::kKept.ids[keep];
  const __m256 moved = _mm256_permutevar8x32_ps(
      _mm256_castpd_ps(values),
      _mm256_load_si256(reinterpret_cast<const __m256i*>(perm)));
  _mm256_storeu_pd(values_out, _mm256_castps_pd(moved));
  const __m256i moved_ids = _mm256_permutevar8x32_epi32(
      _mm256_castsi128_si256(ids),
      _mm256_load_si256(reinterpret_cast<const __m256i*>(id_perm)));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(ids_out),
                   _mm256_castsi256_si128(moved_ids));
  return static_cast<std::size_t>(
      __builtin_popcount(static_cast<unsigned>(keep)));
}

}  // namespace qlor
#endif
