// The second pass ends: point records, their checks and the species counts.
#pragma once

#include <istream>
#include <string>

#include "model/analysis_state.h"

namespace qlor {

inline constexpr const char* kBothSpeciesNeeded =
    "Bivariate analysis requires points of both species  ";
inline constexpr const char* kCentersAboveSpecies1 =
    "Number of centers must be <= species 1 for bivariate cluster analysis  ";
inline constexpr const char* kCentersNotSpecies1 =
    "Number of centers must be = species 1 for bivariate cluster analysis  ";

/// Which reader runs: the single-file run, a batch pre-check (nothing of
/// the pattern is kept) or a batch analysis pass (centres must equal the
/// species-1 points).
enum class RecordPass { kSingle, kPrecheck, kBatch };

/// Reads and checks the `n_points` records that follow the header items.
/// Returns "", a record message or "MAF:1".
[[nodiscard]] Status read_samples(AnalysisState& state, std::istream& in,
                                  RecordPass pass = RecordPass::kSingle);

}  // namespace qlor
