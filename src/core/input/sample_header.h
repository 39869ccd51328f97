// Both passes over the header of a sample data file, for the runs that need
// its parameters before (or instead of) its records.
#pragma once

#include <fstream>
#include <string>
#include <vector>

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

/// The text of a sample data file of `parameters` (the header items its
/// process type and analysis type ask for) and `points`, each number as
/// shortest_decimal writes it.
[[nodiscard]] std::string sample_text(const RunParameters& parameters,
                                      const std::vector<PointRecord>& points);

/// Reads a sample data file's text as read_header_values and read_samples
/// read the file: the header, its values and the records, with the same
/// checks and messages. Returns "" or the first failure.
[[nodiscard]] Status read_sample_text(const std::string& text,
                                      AnalysisState& state,
                                      Direction direction_index,
                                      Significance significance_index,
                                      double& pairs_total_file);

}  // namespace qlor
