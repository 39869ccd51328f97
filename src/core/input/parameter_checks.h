// The second pass begins: header values, their checks and the distance grid.
#pragma once

#include <istream>
#include <string>

#include "model/analysis_state.h"

namespace qlor {

inline constexpr const char* kHeaderNonNumeric =
    "Input error: non-numeric value in line 1  ";
inline constexpr const char* kPlotSize =
    "Values for plot length or width are incorrect  ";
inline constexpr const char* kTminAboveTmax =
    "Value of 't_min' is greater than 't_max'  ";
inline constexpr const char* kTintervalRange =
    "Value of 't_interval' is out of range  ";
inline constexpr const char* kTmaxAboveHalf =
    "'t_max' exceeds 1/2 of plot length or width  ";
inline constexpr const char* kSimulationCount =
    "Number of simulations must be 19, 99, or >=100  ";
inline constexpr const char* kInhibitionTooLarge =
    "'r_inhibit' too large to place all points  ";
inline constexpr const char* kCOutOfRange = "Variable 'c' is out of range  ";
inline constexpr const char* kClusterTooLarge =
    "'r_cluster' too large for plot dimension  ";
inline constexpr const char* kTooManyCenters =
    "Too many centers/parent points  ";
inline constexpr const char* kCentersBelowOne =
    "Number of centers must be >= 1  ";

/// Reads the 6, 8 or 9 header items from the start of `in` (leaving it
/// after the last item), checks them in their fixed order and derives
/// `t_min_steps` and `last_interval`. On success `pairs_total_file` holds the
/// run's i-j calculations. Returns "", the first failing check's message,
/// "MAF:2" (distance counts beyond 32 bits) or "MAF:3" (simulation count).
[[nodiscard]] Status check_parameters(AnalysisState& state, std::istream& in,
                                      double& pairs_total_file);

/// i-j calculations of a whole run: n^2 * distances * patterns.
[[nodiscard]] double count_pairs_total(const AnalysisState& state);

}  // namespace qlor
