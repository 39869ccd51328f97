// The historical generator, kept draw for draw: one 15-bit linear
// congruential sequence, seeded anew with the run's seed + s * s at every
// attempt of pattern s, integers as remainders, an event of probability p
// kept when a draw is divisible by trunc(1/p + 0.5). Its faults (cells
// beyond 32768 and remainders favour some values, the acceptance rounds p
// to 1/m, the streams of all patterns are windows of one 2^32 cycle) are
// why it is not the default.
#pragma once

#include "simulation/lcg_random.h"
#include "simulation/pattern_draws.h"

namespace qlor {

class ClassicDraws final : public PatternDraws {
 public:
  explicit ClassicDraws(std::uint32_t seed) : run_seed_(seed) {}

  void start_pattern(std::int32_t s) override {
    pattern_seed_ = classic_seed(run_seed_, s);
  }
  /// Every attempt repeats the draws of the pattern's first.
  void start_attempt() override { rng_.seed(pattern_seed_); }
  [[nodiscard]] std::int32_t below(std::int32_t m) override {
    return rng_.draw_mod(m);
  }
  /// 53 bits from four draws, the first the highest.
  [[nodiscard]] double uniform() override;
  [[nodiscard]] bool accept(double p) override;
  /// A coin while both species are short, then the short species.
  [[nodiscard]] std::int32_t label(std::int32_t short1,
                                   std::int32_t short2) override;
  /// A lattice point of the offset cells, then a sign draw per axis.
  [[nodiscard]] PointRecord offset(const SimulationLattice& lattice,
                                   std::int32_t cells) override;
  /// Sweeps of counts drawn from the Poisson table by acceptance until a
  /// sweep adds up.
  [[nodiscard]] bool offspring_counts(std::span<std::int32_t> counts,
                                      std::int32_t n_offspring,
                                      std::vector<double>& table) override;
  /// A walk over the entries, wrapping around, that marks an unmarked entry
  /// when a draw is odd.
  void choose(std::span<std::uint8_t> chosen, std::int32_t m) override;

 private:
  std::uint32_t run_seed_;
  std::uint32_t pattern_seed_ = 0;
  LcgRandom rng_;
};

}  // namespace qlor
