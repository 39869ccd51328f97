// The classic linear congruential generator and its seeding.
#pragma once

#include <cstdint>

namespace qlor {

/// The classic 32-bit generator: state = state * 214013 + 2531011, draws are
/// bits 16 to 30 of the state (0 .. 32767).
class LcgRandom {
 public:
  static constexpr std::int32_t kMax = 32767;
  static constexpr std::uint32_t kMultiplier = 214013u;
  static constexpr std::uint32_t kIncrement = 2531011u;

  void seed(std::uint32_t seed) { state_ = seed; }
  std::int32_t draw() {
    state_ = state_ * kMultiplier + kIncrement;
    return static_cast<std::int32_t>((state_ >> 16) & 0x7fffu);
  }
  /// A draw reduced modulo m (m > 0). Above 32768 a single draw cannot reach
  /// every value, so two draws form r1 * 32768 + r2 (r1 drawn first).
  std::int32_t draw_mod(std::int32_t m) {
    if (m <= kMax + 1) return draw() % m;
    const std::int64_t r1 = draw();
    const std::int64_t r2 = draw();
    return static_cast<std::int32_t>((r1 * (kMax + 1) + r2) % m);
  }
  [[nodiscard]] std::uint32_t state() const { return state_; }

 private:
  std::uint32_t state_ = 1;
};

/// The classic seed of pattern s: the run's seed (the clock's seconds) +
/// s * s in 32-bit arithmetic; pattern 0's is the run's seed itself.
[[nodiscard]] constexpr std::uint32_t classic_seed(std::uint32_t run_seed,
                                                   std::int32_t s) {
  const auto u = static_cast<std::uint32_t>(s);
  return run_seed + u * u;
}

}  // namespace qlor
