// The default generator: Philox4x32-10 (Random123), a counter-based
// generator whose key is the run's seed and the pattern number.
#pragma once

#include <Random123/philox.h>

#include "simulation/pattern_draws.h"

namespace qlor {

class PhiloxDraws final : public PatternDraws {
 public:
  explicit PhiloxDraws(std::uint32_t seed) : seed_(seed) {}

  void start_pattern(std::int32_t s) override;
  /// A retried attempt goes on with fresh draws of the same stream.
  void start_attempt() override {}
  /// Lemire's multiply-and-reject: every value equally likely for any m.
  [[nodiscard]] std::int32_t below(std::int32_t m) override;
  /// u < p, u a uniform double in [0, 1) from 53 random bits.
  [[nodiscard]] bool accept(double p) override;
  /// A uniformly random labelling: the next point is species 1 with
  /// probability short1 / (short1 + short2).
  [[nodiscard]] std::int32_t label(std::int32_t short1,
                                   std::int32_t short2) override;
  /// Every signed lattice step of the square equally likely.
  [[nodiscard]] PointRecord offset(const SimulationLattice& lattice,
                                   std::int32_t cells) override;
  /// Independent Poisson counts conditioned on their sum are multinomial:
  /// each offspring picks its centre uniformly.
  [[nodiscard]] bool offspring_counts(std::span<std::int32_t> counts,
                                      std::int32_t n_offspring,
                                      std::vector<double>& table) override;
  /// Selection sampling: every set of m entries equally likely.
  void choose(std::span<std::uint8_t> chosen, std::int32_t m) override;

  /// The next 32 random bits of the stream.
  [[nodiscard]] std::uint32_t next32();
  /// A uniform double in [0, 1), 53 random bits.
  [[nodiscard]] double uniform() override;

 private:
  using Philox = r123::Philox4x32;

  std::uint32_t seed_;
  Philox::key_type key_{};
  Philox::ctr_type counter_{};
  Philox::ctr_type block_{};
  unsigned used_ = 4;
};

}  // namespace qlor
