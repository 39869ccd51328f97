// What the name of a run's temporary or result file says about the run: the
// function, the null model, and the sample data file it read. The suffixes
// come in the order the runs write them: the function's with its pairs,
// then the null model's (plot2_g_labels.tmp, plot2_L22_shift.tmp).
#pragma once

#include <string>

#include "model/choices.h"

namespace qlor {

struct RunName {
  FunctionKind function = FunctionKind::kL;
  PairSet pairs = PairSet::kCross;
  NullKind null_kind = NullKind::kHeader;
  /// The sample data file named without the run's suffixes, "" when the
  /// name has none (plot1.tmp: the sample is plot1.dat either way).
  std::string sample_path;
};

/// Reads the run's suffixes off the stem of `path` (plot1_O_shift.ktt:
/// O, the toroidal shift, plot1.dat).
[[nodiscard]] RunName parse_run_name(const std::string& path);

}  // namespace qlor
