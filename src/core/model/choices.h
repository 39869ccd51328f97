// The choices of a run as types: the kind of file, the null model and the
// run settings. Their numbers are the ones the files, the configuration file
// and the command line use; only the code that reads those converts.
#pragma once

#include <cstdint>
#include <optional>

namespace qlor {

/// The kind of sample data file, by the items of a point record.
enum class AnalysisType : std::int32_t {
  kUnivariate = 1,  // x y
  kBivariate = 2,   // x y species
};

/// The null model, by the number of header items.
enum class ProcessType : std::int32_t {
  kCsr = 0,         // 6 items: complete spatial randomness
  kInhibition = 1,  // 8 items: SSI (c = 0) or Strauss
  kCluster = 2,     // 9 items
};

/// The tests of significance run after the envelopes.
enum class Significance : std::int32_t {
  kNone = 0,
  kSupremum = 1,
  kCramerVonMises = 2,
  kBoth = 3,
};

/// The directional analysis of a bivariate pattern.
enum class Direction : std::int32_t {
  kNone = 0,
  kCardinal = 1,    // 90° sectors W, N, E, S
  kDiagonal = 2,    // 90° sectors SW, NW, NE, SE
  kHalfPlanes = 3,  // 180° sectors N-S, W-E
};

/// Which species a bivariate simulation moves.
enum class RandomizeMode : std::int32_t {
  kSpecies2 = 1,
  kBothSpecies = 2,
};

/// The random numbers of the simulations.
enum class GeneratorKind : std::int32_t {
  /// Philox4x32-10 keyed by the run's seed and the pattern number, with
  /// unbiased bounded integers and exact acceptance.
  kPhilox = 0,
  /// The 15-bit linear congruential generator with its historical seeding,
  /// draw order and acceptance, for comparison with results of the past.
  kClassic = 1,
};

/// What the supremum and Cramer-von Mises statistics measure a curve's
/// departure from.
enum class TestCentre : std::int32_t {
  kCsr = 0,   // L(t) - t = 0, the value under complete spatial randomness
  kMean = 1,  // the pointwise mean of the simulated curves
};

/// The summary function a run estimates from every pattern.
enum class FunctionKind : std::int32_t {
  kL = 0,  // L(t) - t
  kG = 1,  // the pair correlation function g(t)
  kO = 2,  // the O-ring statistic O(t) = lambda g(t)
  // The inhomogeneous functions: what L and g become with an intensity.
  kLinhom = 3,  // L_inhom(t) - t
  kGinhom = 4,  // the inhomogeneous pair correlation function g_inhom(t)
};

/// What a simulated pattern is, besides the header's model.
enum class NullKind : std::int32_t {
  kHeader = 0,  // the header's model with the randomise setting
  kLabels = 1,  // random labelling: positions fixed, labels shuffled
  kShift = 2,   // toroidal shift: species 2 moved as a whole on the torus
};

/// The pairs a bivariate statistic counts.
enum class PairSet : std::int32_t {
  kCross = 0,  // across species
  k11 = 1,     // within species 1
  k22 = 2,     // within species 2
};

/// How g and O are estimated.
enum class PcfEstimator : std::int32_t {
  kKernel = 0,  // Epanechnikov kernel over the pairs' distances
  kRing = 1,    // differences of K between consecutive distances
};

/// The name a generator goes by in options, qlor.ini and the run's lines.
[[nodiscard]] constexpr const char* generator_name(GeneratorKind g) {
  return g == GeneratorKind::kClassic ? "classic" : "philox";
}

/// The name a direction goes by in options and run records.
[[nodiscard]] constexpr const char* direction_name(Direction d) {
  switch (d) {
    case Direction::kNone:
      break;
    case Direction::kCardinal:
      return "cardinal";
    case Direction::kDiagonal:
      return "diagonal";
    case Direction::kHalfPlanes:
      return "half-planes";
  }
  return "none";
}

/// The name a pair set goes by in options and run records.
[[nodiscard]] constexpr const char* pair_set_name(PairSet p) {
  return p == PairSet::k11 ? "11" : p == PairSet::k22 ? "22" : "cross";
}

[[nodiscard]] constexpr bool runs_supremum(Significance s) {
  return s == Significance::kSupremum || s == Significance::kBoth;
}
[[nodiscard]] constexpr bool runs_cramer_von_mises(Significance s) {
  return s == Significance::kCramerVonMises || s == Significance::kBoth;
}

/// The number a choice stands for in files, menus and options.
template <class Choice>
[[nodiscard]] constexpr std::int32_t index_of(Choice c) {
  return static_cast<std::int32_t>(c);
}

/// The choice a number stands for; nothing for a number outside its range.
template <class Choice>
[[nodiscard]] constexpr std::optional<Choice> choice_from_index(std::int32_t i);

template <>
constexpr std::optional<Significance> choice_from_index(std::int32_t i) {
  if (i < 0 || i > 3) return std::nullopt;
  return static_cast<Significance>(i);
}
template <>
constexpr std::optional<Direction> choice_from_index(std::int32_t i) {
  if (i < 0 || i > 3) return std::nullopt;
  return static_cast<Direction>(i);
}
template <>
constexpr std::optional<RandomizeMode> choice_from_index(std::int32_t i) {
  if (i < 1 || i > 2) return std::nullopt;
  return static_cast<RandomizeMode>(i);
}

}  // namespace qlor
