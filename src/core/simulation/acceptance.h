// The acceptance draw shared by the Strauss process, the offspring counts
// and the distant offspring of the cluster process: an event of probability
// p is kept when a draw modulo trunc(1/p + 0.5) is 0.
#pragma once

#include <cstdint>

#include "simulation/lcg_random.h"

namespace qlor {

/// Probabilities at or below this are refused without a draw.
inline constexpr double kSmallestProbability = 1e-15;

/// The modulus trunc(1/p + 0.5) of the acceptance draw, or 0 when the event
/// is refused without a draw: p at or below kSmallestProbability, not a
/// number, or a modulus beyond the 32-bit signed range.
[[nodiscard]] inline std::int32_t acceptance_modulus(double p) {
  if (!(p > kSmallestProbability)) return 0;
  const double v = 1.0 / p + 0.5;
  if (!(v <= 2147483647.0)) return 0;
  return static_cast<std::int32_t>(v);
}

/// Keeps an event of probability p: one draw, kept when it is divisible by
/// the modulus. Refusals without a modulus consume no draw.
[[nodiscard]] inline bool draw_acceptance(double p, LcgRandom& rng) {
  const std::int32_t m = acceptance_modulus(p);
  return m != 0 && rng.draw() % m == 0;
}

}  // namespace qlor
