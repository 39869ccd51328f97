// Both passes over the header of a sample data file, for the runs that need
// its parameters before (or instead of) its records.
#pragma once

#include <fstream>
#include <string>

#include "model/analysis_state.h"

namespace qlor {

/// Reads the header record of the sample data file at `path` (item count,
/// file kind, number of records), then, on a second stream, the header
/// values. Sets `pairs_total_file`. Returns "" or the first failure
/// ("QLOR - File open error!" when the file cannot be opened). `records`
/// is the second stream, left after the header for the point records.
[[nodiscard]] Status read_header_values(const std::string& path,
                                        AnalysisState& state,
                                        Direction direction_index,
                                        Significance significance_index,
                                        double& pairs_total_file,
                                        std::ifstream& records);

/// The same when the records are not read.
[[nodiscard]] Status read_header_values(const std::string& path,
                                        AnalysisState& state,
                                        Direction direction_index,
                                        Significance significance_index,
                                        double& pairs_total_file);

}  // namespace qlor
