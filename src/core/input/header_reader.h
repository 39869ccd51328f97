// The sample data file's first pass: header item count, pattern layout and
// number of point records.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

#include "model/analysis_state.h"

namespace qlor {

inline constexpr const char* kWrongParameterCount =
    "Input error: wrong number of parameters in line 1  ";
inline constexpr const char* kFileEmpty = "Input error: File is empty  ";
inline constexpr const char* kLine2TooManyBlanks =
    "Input error: >2 blanks (>3 data parameters?) detected in line 2  ";
inline constexpr const char* kUnivariateDirection =
    "Input file contains univariate data set which\ncannot be analysed for "
    "directional association  \n\nSet  'Direction'  to  'None'  to continue";

/// True when the item just extracted from `in` ends at a blank, tab, line
/// end or the end of the file ("99.5" read as an integer does not).
[[nodiscard]] bool item_ends_cleanly(std::istream& in);

/// Reads the header line and the first record line character by character
/// and counts the records. Sets `process_type`, `analysis_type` and
/// `n_points`. Returns "" or the message to show.
[[nodiscard]] Status read_header(AnalysisState& state, std::istream& in,
                                 Direction direction_index,
                                 Significance significance_index);

}  // namespace qlor
