// Philox streams: block i of pattern s is Philox(counter = i, key = (seed,
// s)), four 32-bit words used in order.
#include "simulation/philox_draws.h"

#include <algorithm>
#include <cstdlib>

#include "simulation/simulation_grid.h"

namespace qlor {

void PhiloxDraws::start_pattern(std::int32_t s) {
  key_ = {{seed_, static_cast<std::uint32_t>(s)}};
  counter_ = {{0, 0, 0, 0}};
  used_ = 4;
}

std::uint32_t PhiloxDraws::next32() {
  if (used_ == 4) {
    block_ = Philox()(counter_, key_);
    counter_.incr();
    used_ = 0;
  }
  return block_[used_++];
}

double PhiloxDraws::uniform() {
  const std::uint32_t high = next32() >> 5;  // 27 bits
  const std::uint32_t low = next32() >> 6;   // 26 bits
  return (high * 67108864.0 + low) * (1.0 / 9007199254740992.0);
}

std::int32_t PhiloxDraws::below(std::int32_t m) {
  const auto range = static_cast<std::uint32_t>(m);
  std::uint64_t product = std::uint64_t{next32()} * range;
  auto low = static_cast<std::uint32_t>(product);
  if (low < range) {
    // Products whose low word falls below 2^32 mod m would favour the
    // smaller values: draw again.
    const std::uint32_t threshold = (0u - range) % range;
    while (low < threshold) {
      product = std::uint64_t{next32()} * range;
      low = static_cast<std::uint32_t>(product);
    }
  }
  return static_cast<std::int32_t>(product >> 32);
}

bool PhiloxDraws::accept(double p) { return uniform() < p; }

std::int32_t PhiloxDraws::label(std::int32_t short1, std::int32_t short2) {
  if (short1 <= 0) return 1;
  if (short2 <= 0) return 0;
  return below(short1 + short2) < short1 ? 0 : 1;
}

PointRecord PhiloxDraws::offset(const SimulationLattice& lattice,
                                std::int32_t cells) {
  const std::int32_t steps_per_cell = lattice_steps_per_cell(lattice);
  const std::int32_t steps = cells * steps_per_cell;
  auto axis = [&] {
    const std::int32_t step = below(2 * steps - 1) - (steps - 1);
    const double magnitude =
        lattice_step_value(lattice, std::abs(step), steps_per_cell);
    return step < 0 ? -magnitude : magnitude;
  };
  PointRecord p;
  p.x = axis();
  p.y = axis();
  return p;
}

bool PhiloxDraws::offspring_counts(std::span<std::int32_t> counts,
                                   std::int32_t n_offspring,
                                   std::vector<double>&) {
  std::fill(counts.begin(), counts.end(), 0);
  const auto centres = static_cast<std::int32_t>(counts.size());
  for (std::int32_t j = 0; j < n_offspring; ++j) {
    ++counts[static_cast<std::size_t>(below(centres))];
  }
  return true;
}

void PhiloxDraws::choose(std::span<std::uint8_t> chosen, std::int32_t m) {
  const auto n = static_cast<std::int32_t>(chosen.size());
  std::int32_t needed = m;
  for (std::int32_t i = 0; i < n && needed > 0; ++i) {
    if (below(n - i) < needed) {
      chosen[static_cast<std::size_t>(i)] = 1;
      --needed;
    }
  }
}

}  // namespace qlor
