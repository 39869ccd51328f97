// The generator's sequence produced ahead in blocks: a jump of several
// steps is again a linear congruential step, so lanes a fixed distance apart
// advance independently of each other.
#pragma once

#include <cstdint>
#include <span>

#include "simulation/lcg_random.h"

namespace qlor {

/// Multiplier and increment of `steps` steps of LcgRandom at once:
/// state_{i+steps} = multiplier * state_i + increment (mod 2^32).
struct LcgJump {
  std::uint32_t multiplier = 1;
  std::uint32_t increment = 0;
};

[[nodiscard]] constexpr LcgJump lcg_jump(std::uint32_t steps) {
  LcgJump jump;
  for (std::uint32_t i = 0; i < steps; ++i) {
    jump.multiplier *= LcgRandom::kMultiplier;
    jump.increment =
        jump.increment * LcgRandom::kMultiplier + LcgRandom::kIncrement;
  }
  return jump;
}

/// The draw that LcgRandom::draw returns on reaching `state`.
[[nodiscard]] constexpr std::int32_t draw_of_state(std::uint32_t state) {
  return static_cast<std::int32_t>((state >> 16) & 0x7fffu);
}

/// Remainders of draws (0 .. LcgRandom::kMax) by a fixed divisor n (1 ..
/// kMax + 1) with one multiplication and a shift in 32 bits, the same in a
/// vector lane: q = draw * multiplier >> shift is draw / n exactly, since
/// 2^shift >= 32768 n makes the error of multiplier = 2^shift / n + (0, 1]
/// smaller than the gap 1 / n to the next integer, and draw * multiplier
/// stays below 2^31.
struct DrawDivisor {
  std::uint32_t divisor = 1;
  std::uint32_t multiplier = 32769;
  std::uint32_t shift = 15;

  [[nodiscard]] static constexpr DrawDivisor of(std::int32_t n) {
    DrawDivisor d;
    d.divisor = static_cast<std::uint32_t>(n);
    while ((std::uint64_t{1} << d.shift) < 32768u * std::uint64_t{d.divisor}) {
      ++d.shift;
    }
    d.multiplier = static_cast<std::uint32_t>(
        (std::uint64_t{1} << d.shift) / d.divisor + 1);
    return d;
  }
  [[nodiscard]] constexpr std::int32_t remainder(std::int32_t draw) const {
    const auto u = static_cast<std::uint32_t>(draw);
    return static_cast<std::int32_t>(u - (u * multiplier >> shift) * divisor);
  }
};

/// Writes the states that the next out.size() draws from `state` reach:
/// out[i] is the state after draw i + 1, so draw_of_state(out[i]) is that
/// draw and LcgRandom::seed(out[i]) continues the sequence after it.
void fill_lcg_states(std::uint32_t state, std::span<std::uint32_t> out);

}  // namespace qlor
