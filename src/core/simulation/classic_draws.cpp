// The historical draws, in their historical order.
#include "simulation/classic_draws.h"

#include "simulation/acceptance.h"
#include "simulation/offspring_counts.h"
#include "simulation/poisson_table.h"
#include "simulation/simulation_grid.h"

namespace qlor {

namespace {

// Sweeps that do not add up within this bound end the attempt as failed.
constexpr std::int64_t kMaxCountSweeps = 1000000;

}  // namespace

double ClassicDraws::uniform() {
  std::uint64_t bits = 0;
  for (int i = 0; i < 3; ++i) {
    bits = (bits << 15) | static_cast<std::uint64_t>(rng_.draw());
  }
  bits = (bits << 8) | static_cast<std::uint64_t>(rng_.draw() >> 7);
  return static_cast<double>(bits) * (1.0 / 9007199254740992.0);
}

bool ClassicDraws::accept(double p) { return draw_acceptance(p, rng_); }

std::int32_t ClassicDraws::label(std::int32_t short1, std::int32_t short2) {
  if (short1 > 0 && short2 > 0) return rng_.draw() % 2;
  return short1 > 0 ? 0 : 1;
}

PointRecord ClassicDraws::offset(const SimulationLattice& lattice,
                                 std::int32_t cells) {
  PointRecord p = grid_point(lattice, *this, cells, cells);
  if (rng_.draw() % 2 == 1) p.x = -p.x;
  if (rng_.draw() % 2 == 1) p.y = -p.y;
  return p;
}

bool ClassicDraws::offspring_counts(std::span<std::int32_t> counts,
                                    std::int32_t n_offspring,
                                    std::vector<double>& table) {
  const double mu =
      static_cast<double>(n_offspring) / static_cast<double>(counts.size());
  fill_poisson_table(table, mu, n_offspring);
  return draw_offspring_counts(counts, table, n_offspring, kMaxCountSweeps,
                               rng_);
}

void ClassicDraws::choose(std::span<std::uint8_t> chosen, std::int32_t m) {
  // Marked entries are passed without a draw.
  std::int32_t marked = 0;
  for (std::size_t i = 0; marked < m; i = (i + 1) % chosen.size()) {
    if (chosen[i] == 0 && rng_.draw() % 2 == 1) {
      chosen[i] = 1;
      ++marked;
    }
  }
}

}  // namespace qlor
