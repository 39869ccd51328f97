// The global envelope test of an earlier run: its curves read back from the
// temporary file, with the distances from the sample data file beside it.
#pragma once

#include <string>
#include <vector>

#include "model/status.h"
#include "results/global_envelope.h"

namespace qlor {

/// The curves of one temporary file and where they came from.
struct RunCurves {
  std::string tmp_path;
  std::string sample_path;  // the sample data file that names the distances
  std::vector<double> t;    // the distances, as the result file prints them
  CurveSet curves;          // observed first, then every simulation
};

/// Reads the temporary file `tmp_path` as the significance-only run reads
/// it: finds its sample data file, takes the distances and the number of
/// simulations from its header and checks that the file holds exactly
/// that many patterns. Returns "" or the significance-only run's message
/// ("QLOR - File open error!", "QLOR - Corresponding DAT-File not found !",
/// a header message, "QLOR - Temporary file incomplete or unreadable !"),
/// or "MAF:2" when the curves do not fit in memory.
[[nodiscard]] Status read_run_curves(const std::string& tmp_path,
                                     RunCurves& run);

}  // namespace qlor
