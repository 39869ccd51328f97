// The linear congruential generator of every simulation, and its seeding.
#pragma once

#include <cstdint>

namespace qlor {

class Clock;

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

/// The seed of simulation s: clock seconds + s * s in 32-bit arithmetic.
[[nodiscard]] std::uint32_t simulation_seed(const Clock& clock,
                                            std::int32_t s);

}  // namespace qlor
