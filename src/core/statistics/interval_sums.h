// Adding a pair's weight to every interval from its first one on. The sums
// are handled a vector of intervals at a time; a lane before the pair's
// first interval keeps its sum, so every sum still adds its weights one by
// one in the pairs' order.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace qlor {

/// W interval sums in one vector: 4 lanes in AVX2 registers, 8 in AVX-512
/// ones (and as pairs of 2 in the baseline's).
/// (Spelled out per width: GCC drops a vector_size attribute whose size
/// depends on a template parameter.)
template <int W>
struct ChunkOf;
template <>
struct ChunkOf<2> {
  using type = double __attribute__((vector_size(16)));
};
template <>
struct ChunkOf<4> {
  using type = double __attribute__((vector_size(32)));
};
template <>
struct ChunkOf<8> {
  using type = double __attribute__((vector_size(64)));
};
template <int W>
using Chunk = typename ChunkOf<W>::type;

/// Sets the lanes of a chunk to base, base + 1, .. base + W - 1.
template <int W>
[[gnu::always_inline]] inline void set_lanes(Chunk<W>& lanes, double base) {
  double values[W];
  for (int i = 0; i < W; ++i) values[i] = base + i;
  std::memcpy(&lanes, values, sizeof lanes);
}
static_assert(sizeof(Chunk<8>) == 8 * sizeof(double));

/// Adds weight to sum in the lanes where lane >= from: with AVX-512
/// one masked add; narrower, the add of +0.0 where not reached (a sum is
/// never -0.0, so it stays as it was).
template <int W>
[[gnu::always_inline]] inline void add_where(Chunk<W>& sum,
                                             const Chunk<W>& lane,
                                             const Chunk<W>& from,
                                             const Chunk<W>& weight) {
  const auto reached = lane >= from;
  if constexpr (W == 8) {
    sum = reached ? sum + weight : sum;
  } else {
    sum += (Chunk<W>)(reached & (decltype(reached))weight);
  }
}

/// kReachedHalf zeros, then as many ones: from reached_from(first) on,
/// entry i is 1 where a pair whose first interval is `first` reaches
/// interval i, else 0. A finite weight times its entry is the weight or +0
/// exactly (the estimator's weights are finite: at most 4).
inline constexpr std::ptrdiff_t kReachedHalf = 64;
alignas(64) inline constexpr auto kReached = [] {
  std::array<double, 2 * kReachedHalf> row{};
  for (std::ptrdiff_t i = kReachedHalf; i < 2 * kReachedHalf; ++i) {
    row[static_cast<std::size_t>(i)] = 1.0;
  }
  return row;
}();

/// The row of kReached for a pair whose first interval is `first` (below
/// kReachedHalf), to be read at 0 .. kReachedHalf - 1.
[[gnu::always_inline]] inline const double* reached_from(double first) {
  return kReached.data() + (kReachedHalf - static_cast<std::ptrdiff_t>(first));
}

/// Chunks of W lanes needed for the given number of intervals.
template <int W>
[[nodiscard]] constexpr std::size_t chunks_for(std::size_t intervals) {
  return (intervals + W - 1) / W;
}

/// The sums of the intervals 0 .. W N - 1 held in N chunks while the pairs
/// of one centre are added: the compiler keeps them in vector registers, and
/// each pair costs the same few instructions whatever its first interval.
/// A lane before the pair's first interval keeps its sum, as adding +0.0
/// would.
template <int W, int N>
struct RegisterSums {
  Chunk<W> sum[N];
  Chunk<W> lane[N];

  [[gnu::always_inline]] explicit RegisterSums(const double* sums) {
#pragma GCC unroll 16
    for (int c = 0; c < N; ++c) {
      std::memcpy(&sum[c], sums + W * c, sizeof(Chunk<W>));
      set_lanes<W>(lane[c], static_cast<double>(W * c));
    }
  }
  /// Adds w to the intervals first, first + 1, ..: with AVX-512 by masks
  /// from comparisons; narrower, w times the register's entries of kReached
  /// (w or +0, exactly), a multiplication from a row in memory where a
  /// comparison and a select would take two vector operations.
  [[gnu::always_inline]] void add_from(double first, double w) {
    const Chunk<W> weight = Chunk<W>{} + w;
    if constexpr (W == 8) {
      const Chunk<W> from = Chunk<W>{} + first;
#pragma GCC unroll 16
      for (int c = 0; c < N; ++c) {
        add_where<W>(sum[c], lane[c], from, weight);
      }
    } else {
      static_assert(W * N <= kReachedHalf);
      const double* reached = reached_from(first);
#pragma GCC unroll 16
      for (int c = 0; c < N; ++c) {
        Chunk<W> ones;
        std::memcpy(&ones, reached + W * c, sizeof ones);
        sum[c] += weight * ones;
      }
    }
  }
  [[gnu::always_inline]] void store(double* sums) const {
#pragma GCC unroll 16
    for (int c = 0; c < N; ++c) {
      std::memcpy(sums + W * c, &sum[c], sizeof(Chunk<W>));
    }
  }
};

/// Adds w to sums[first], sums[first + 1], .. up to the end of `chunks`
/// chunks of W lanes, chunk by chunk from the one that holds `first`: each
/// chunk is loaded where it was stored, so the next pair's loads never
/// straddle two earlier stores.
template <int W>
[[gnu::always_inline]] inline void add_from_chunks(double* sums,
                                                   std::size_t chunks,
                                                   std::size_t first,
                                                   double w) {
  const std::size_t c0 = first / W;
  const auto lane0 = static_cast<double>(first % W);
  const Chunk<W> weight = Chunk<W>{} + w;
  Chunk<W> lanes;
  set_lanes<W>(lanes, 0.0);
  Chunk<W> s;
  std::memcpy(&s, sums + W * c0, sizeof(Chunk<W>));
  add_where<W>(s, lanes, Chunk<W>{} + lane0, weight);
  std::memcpy(sums + W * c0, &s, sizeof(Chunk<W>));
  for (std::size_t c = c0 + 1; c < chunks; ++c) {
    std::memcpy(&s, sums + W * c, sizeof(Chunk<W>));
    s += weight;
    std::memcpy(sums + W * c, &s, sizeof(Chunk<W>));
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
