// Adding a pair's weight to every interval from its first one on. The sums
// are handled four intervals at a time; a lane before the pair's first
// interval adds +0.0, which leaves a sum (never -0.0) exactly as it was, so
// every sum still adds its weights one by one in the pairs' order.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace qlor {

using Chunk = double __attribute__((vector_size(32)));
using ChunkMask = std::int64_t __attribute__((vector_size(32)));
inline constexpr std::size_t kChunkLanes = 4;

/// Chunks needed for the given number of intervals.
[[nodiscard]] constexpr std::size_t chunks_for(std::size_t intervals) {
  return (intervals + kChunkLanes - 1) / kChunkLanes;
}

/// The sums of the intervals 0 .. 4 N - 1 held in N chunks while the pairs
/// of one centre are added: the compiler keeps them in vector registers, and
/// each pair costs the same few instructions whatever its first interval.
template <int N>
struct RegisterSums {
  Chunk sum[N];
  Chunk lane[N];

  [[gnu::always_inline]] explicit RegisterSums(const double* sums) {
#pragma GCC unroll 16
    for (int c = 0; c < N; ++c) {
      std::memcpy(&sum[c], sums + kChunkLanes * c, sizeof(Chunk));
      const double base = static_cast<double>(kChunkLanes * c);
      lane[c] = Chunk{base, base + 1, base + 2, base + 3};
    }
  }
  /// Adds w to the intervals first, first + 1, ..
  [[gnu::always_inline]] void add_from(double first, double w) {
    const Chunk from = Chunk{first, first, first, first};
    const ChunkMask weight = (ChunkMask)(Chunk{w, w, w, w});
#pragma GCC unroll 16
    for (int c = 0; c < N; ++c) {
      sum[c] += (Chunk)((lane[c] >= from) & weight);
    }
  }
  [[gnu::always_inline]] void store(double* sums) const {
#pragma GCC unroll 16
    for (int c = 0; c < N; ++c) {
      std::memcpy(sums + kChunkLanes * c, &sum[c], sizeof(Chunk));
    }
  }
};

/// Adds w to sums[first], sums[first + 1], .. up to the end of `chunks`
/// chunks, chunk by chunk from the one that holds `first`: each chunk is
/// loaded where it was stored, so the next pair's loads never straddle two
/// earlier stores.
[[gnu::always_inline]] inline void add_from_chunks(double* sums,
                                                   std::size_t chunks,
                                                   std::size_t first,
                                                   double w) {
  const std::size_t c0 = first / kChunkLanes;
  const auto lane0 = static_cast<std::int64_t>(first % kChunkLanes);
  const ChunkMask weight = (ChunkMask)(Chunk{w, w, w, w});
  const ChunkMask lanes = ChunkMask{0, 1, 2, 3};
  Chunk s;
  std::memcpy(&s, sums + kChunkLanes * c0, sizeof(Chunk));
  s += (Chunk)((lanes >= lane0) & weight);
  std::memcpy(sums + kChunkLanes * c0, &s, sizeof(Chunk));
  const Chunk all = (Chunk)weight;
  for (std::size_t c = c0 + 1; c < chunks; ++c) {
    std::memcpy(&s, sums + kChunkLanes * c, sizeof(Chunk));
    s += all;
    std::memcpy(sums + kChunkLanes * c, &s, sizeof(Chunk));
  }
}

/// The sum s + 1 + 1 + .. (count ones), added one at a time in double
/// arithmetic, without adding them one at a time: between two powers of two
/// each addition is exact, so only the additions that cross a power of two
/// (where the sum may round) are made one by one. s must not be negative.
[[nodiscard]] inline double add_ones(double s, std::uint64_t count) {
  constexpr double kExactBelow = 9007199254740992.0;  // 2^53
  while (count > 0) {
    if (!(s >= 1) || s >= kExactBelow) {
      // Below 1 the ulp is finer than 1; from 2^53 on additions round.
      s = s + 1.0;
      --count;
      continue;
    }
    // s lies in [top / 2, top), where its ulp divides 1: s + k is exact
    // while it stays below top, and top - s is exact (Sterbenz).
    const double top = std::ldexp(1.0, std::ilogb(s) + 1);
    const double below = std::ceil(top - s) - 1;  // additions staying below
    const auto exact = static_cast<std::uint64_t>(below);
    if (count <= exact) return s + static_cast<double>(count);
    s = s + below;  // exact
    count -= exact;
    s = s + 1.0;  // the addition that reaches top
    --count;
  }
  return s;
}

/// Adds w to sums[first], sums[first + 1], .. up to the last interval.
inline void add_from(std::vector<double>& sums, std::size_t first, double w) {
  double* s = sums.data();
  for (std::size_t i = first, n = sums.size(); i < n; ++i) s[i] += w;
}

}  // namespace qlor
