// The random draws of the simulated patterns. Each pattern has a stream of
// its own, keyed by the run's seed and the pattern number, so that a pattern
// comes out the same whichever thread or rank makes it, in whatever order.
// The generator decides how each kind of draw is made; the null models only
// say which draws they need, in which order.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "model/analysis_state.h"
#include "model/run_seed.h"

namespace qlor {

class PatternDraws {
 public:
  virtual ~PatternDraws() = default;

  /// Starts the stream of pattern s (1 .. n_simulations); stream 0 is the
  /// one a null model draws from while it prepares itself for the run.
  virtual void start_pattern(std::int32_t s) = 0;
  /// Called before every attempt at a pattern, the first included.
  virtual void start_attempt() = 0;

  /// An integer from 0 to m - 1 (m >= 1).
  [[nodiscard]] virtual std::int32_t below(std::int32_t m) = 0;
  /// A uniform double in [0, 1) with 53 random bits.
  [[nodiscard]] virtual double uniform() = 0;
  /// True with probability p (never for p <= 0 or not a number).
  [[nodiscard]] virtual bool accept(double p) = 0;
  /// The label (0 or 1) of the next point of a relabelled pattern, with
  /// `short1` and `short2` points of each species still to label (not both
  /// 0).
  [[nodiscard]] virtual std::int32_t label(std::int32_t short1,
                                           std::int32_t short2) = 0;
  /// A cluster offspring's offset from its centre on the lattice: less than
  /// `cells` (>= 1) cells along each axis, in either direction.
  [[nodiscard]] virtual PointRecord offset(const SimulationLattice& lattice,
                                           std::int32_t cells) = 0;
  /// Offspring counts of the centres (one entry each) that add up to
  /// n_offspring (> 0), each following the Poisson law of mean n_offspring /
  /// centres conditioned on that sum. `table` is scratch of at least
  /// n_offspring + 1 entries. False when no counts could be drawn.
  [[nodiscard]] virtual bool offspring_counts(std::span<std::int32_t> counts,
                                              std::int32_t n_offspring,
                                              std::vector<double>& table) = 0;
  /// Marks m (1 .. chosen.size() - 1) of the entries of `chosen`, which come
  /// all unmarked.
  virtual void choose(std::span<std::uint8_t> chosen, std::int32_t m) = 0;
};

/// The draws of a run with `seed`'s generator and seed; start a pattern
/// before the first draw.
[[nodiscard]] std::unique_ptr<PatternDraws> make_pattern_draws(
    const RunSeed& seed);

}  // namespace qlor
