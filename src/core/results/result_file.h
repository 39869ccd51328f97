// The result file: per distance the upper and lower envelope of the
// simulated patterns and the observed value of L(t) - t.
#pragma once

#include <string>
#include <vector>

#include "model/analysis_state.h"
#include "results/curve_source.h"

namespace qlor {

/// A result file's numbers: per distance t, the upper and the lower
/// envelope and the observed value.
struct ResultEnvelopes {
  std::vector<double> t, upper, lower, observed;
};

/// The envelopes of a run's curves: the largest and smallest simulated
/// value below 100 simulations, else mean +/- 1.96 standard deviations.
/// Returns "", "MAF:3", "MAF:4" or the incomplete-file text.
[[nodiscard]] Status result_envelopes(const RunParameters& parameters,
                                      const CurveSource& curves,
                                      ResultEnvelopes& envelopes);

/// The text of a result file from a run's curves: per distance t, the upper
/// and the lower envelope (result_envelopes) and the observed value, as
/// six significant digits. Returns "", "MAF:3", "MAF:4" or the
/// incomplete-file text.
[[nodiscard]] Status result_text(const RunParameters& parameters,
                                 const CurveSource& curves, std::string& text);

/// Writes the result file of each temporary file (".ktt" beside it), from
/// the values as the temporary file holds them. Returns "", "MAF:3",
/// "MAF:4", the incomplete-file or the write-error text.
[[nodiscard]] Status write_envelopes(const AnalysisState& state,
                                     const std::vector<std::string>& tmp_paths);

}  // namespace qlor
