// Blocks of generator states, eight independent lanes at a time.
#include "simulation/lcg_stream.h"

#include <algorithm>

namespace qlor {

namespace {

constexpr std::size_t kLanes = 8;
constexpr LcgJump kLaneJump = lcg_jump(kLanes);

}  // namespace

void fill_lcg_states(std::uint32_t state, std::span<std::uint32_t> out) {
  const std::size_t head = std::min(out.size(), kLanes);
  for (std::size_t i = 0; i < head; ++i) {
    state = state * LcgRandom::kMultiplier + LcgRandom::kIncrement;
    out[i] = state;
  }
  // Each state depends only on the one eight places before it, so the
  // compiler keeps eight multiplications in flight (or in one vector).
  std::uint32_t* s = out.data();
  for (std::size_t i = kLanes; i < out.size(); ++i) {
    s[i] = s[i - kLanes] * kLaneJump.multiplier + kLaneJump.increment;
  }
}

}  // namespace qlor
