// What the estimator's AVX2 loops share: the packing of kept lanes, which
// AVX2 has no compress instruction for, by permutations from a table, and
// the arc cosine's lanes.
#pragma once

#include "statistics/avx512.h"  // the intrinsics, included past GCC's warning
#include "statistics/kernel_isa.h"

#ifdef QLOR_WIDE_KERNELS
#include <cstddef>
#include <cstdint>

#include "model/fixed_math.h"

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

/// The lanes of fixed_acos four at a time (fixed_math_detail::acos_lanes):
/// selects by blends, the exact products' errors by fused multiply-adds
/// (the same exact values as Dekker's products), and each lane's Taylor
/// terms read from its row of kAsinRows in pairs and put in place by two
/// unpacks, where reading them one array at a time takes five instructions
/// a term.
struct Avx2AcosLanes {
  // __m256d's lanes without its may_alias attribute, which a template
  // argument drops (with a warning); the two convert to each other.
  using V = double __attribute__((vector_size(32)));

  QLOR_TARGET_AVX2 static void abs(V& out, const V& x) {
    out = _mm256_andnot_pd(_mm256_set1_pd(-0.0), x);
  }
  QLOR_TARGET_AVX2 static void sqrt(V& out, const V& z) {
    out = _mm256_sqrt_pd(z);
  }
  QLOR_TARGET_AVX2 static void product(fixed_math_detail::Pair<V>& out,
                                       const V& a, const V& b) {
    const V p = _mm256_mul_pd(a, b);
    out = {p, _mm256_fmsub_pd(a, b, p)};
  }
  QLOR_TARGET_AVX2 static void select_by_sign(V& out, const V& sign, const V& a,
                                              const V& b) {
    out = _mm256_blendv_pd(b, a, sign);
  }
  QLOR_TARGET_AVX2 static void terms(fixed_math_detail::AsinTerms<V>& t,
                                     const V& shifted) {
    using fixed_math_detail::kAsinRowLength;
    // The entries, 0 .. 64, in the low halves of the 64-bit lanes.
    const __m256i j = _mm256_min_epi32(
        _mm256_and_si256(_mm256_castpd_si256(shifted), _mm256_set1_epi64x(127)),
        _mm256_set1_epi64x(asin_table::kEntries - 1));
    const double* rows = fixed_math_detail::kAsinRows.data();
    const double* r[4] = {rows + kAsinRowLength * _mm256_extract_epi64(j, 0),
                          rows + kAsinRowLength * _mm256_extract_epi64(j, 1),
                          rows + kAsinRowLength * _mm256_extract_epi64(j, 2),
                          rows + kAsinRowLength * _mm256_extract_epi64(j, 3)};
    V unused;
    pair(r, 0, t.value, t.value_low);
    pair(r, 2, t.slope, t.slope_low);
    pair(r, 4, t.c[0], t.c[1]);
    pair(r, 6, t.c[2], t.c[3]);
    pair(r, 8, t.c[4], t.c[5]);
    pair(r, 10, t.c[6], unused);
  }

 private:
  // Terms k and k + 1 of the four lanes whose rows are r.
  QLOR_TARGET_AVX2 static void pair(const double* const* r, int k, V& first,
                                    V& second) {
    const __m256d a =
        _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_load_pd(r[0] + k)),
                             _mm_load_pd(r[2] + k), 1);
    const __m256d b =
        _mm256_insertf128_pd(_mm256_castpd128_pd256(_mm_load_pd(r[1] + k)),
                             _mm_load_pd(r[3] + k), 1);
    first = _mm256_unpacklo_pd(a, b);
    second = _mm256_unpackhi_pd(a, b);
  }
};

/// out[i] = fixed_acos(in[i]) for i < n, four at a time: both arrays need
/// room for a whole vector beyond n (the last one's spare lanes are
/// computed and stored too). in may be out.
[[gnu::flatten]] QLOR_TARGET_AVX2 inline void arc_cosines_avx2(const double* in,
                                                               double* out,
                                                               std::size_t n) {
  for (std::size_t i = 0; i < n; i += 4) {
    Avx2AcosLanes::V lanes = _mm256_loadu_pd(in + i);
    fixed_math_detail::acos_lanes<Avx2AcosLanes>(lanes);
    _mm256_storeu_pd(out + i, lanes);
  }
}

}  // namespace qlor
#endif
