// Program-wide run settings, chosen by the configuration file, the menus or
// the command line, and read by every run.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/choices.h"
#include "model/intensity.h"

namespace qlor {

struct RunSettings {
  Significance significance_index = Significance::kNone;
  Direction direction_index = Direction::kNone;
  RandomizeMode randomize_mode = RandomizeMode::kSpecies2;
  double progress_threshold = 0.0;
  std::int32_t autorun_pending = 0;
  /// Worker threads per process for the simulated patterns (0: every
  /// hardware thread).
  int threads = 0;
  GeneratorKind generator = GeneratorKind::kPhilox;
  TestCentre test_centre = TestCentre::kCsr;
  FunctionKind function = FunctionKind::kL;
  /// The kernel's half-width for g and O in plot units; 0: Stoyan's rule
  /// 0.15 / sqrt(lambda).
  double bandwidth = 0.0;
  PcfEstimator estimator = PcfEstimator::kKernel;
  /// The intensity of an inhomogeneous analysis (none: homogeneous).
  IntensitySetting intensity;
  /// The null model beside the header's, for bivariate files.
  NullKind null_model = NullKind::kHeader;
  /// The pairs a bivariate statistic counts.
  PairSet pairs = PairSet::kCross;
  /// Where a single run writes its simulated patterns as CSV; "" for none.
  std::string save_patterns;
  /// Go on from the run record and the whole patterns that an interrupted
  /// run of the same request left.
  bool resume = false;
  /// The seed was given (--seed) rather than taken from the clock.
  bool seed_fixed = false;
};

/// The four temporary-file suffixes of a direction (empty for none).
[[nodiscard]] std::array<std::string, 4> sector_suffixes_for(
    Direction direction_index);

/// Sets the direction.
void set_direction(RunSettings& settings, Direction direction_index);

}  // namespace qlor
