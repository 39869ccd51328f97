// Monte Carlo tests of significance: Ripley's supremum statistic and the
// Cramer-von Mises statistic of every pattern, ranked in a test file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/analysis_state.h"
#include "results/curve_source.h"
#include "results/test_outcome.h"

namespace qlor {

/// The supremum statistic: the largest |L(t) - t| over the distances.
[[nodiscard]] double supremum_statistic(const std::vector<double>& values);

/// The Cramer-von Mises statistic: trapezoidal sum of squares over the
/// distances, divided by their number and multiplied by t_max.
[[nodiscard]] double cvm_statistic(const std::vector<double>& values,
                                   double t_max);

/// The ranked lines of a test file: statistics in decreasing order, rank
/// n_simulations down to 0, the first line equal to the observed statistic
/// (statistics[0]) marked with a tab and "*".
[[nodiscard]] std::string format_ranked_statistics(
    std::vector<double> statistics);

/// What a test file's name ends in after the temporary file's stem:
/// `extension` (".sup", ".cvm"), after "_mean" when the statistics are
/// centred on the simulations' mean.
[[nodiscard]] std::string test_file_ending(const std::string& extension,
                                           TestCentre centre);

/// The test file of `tmp_file_name` for `extension`.
[[nodiscard]] std::string test_file_name(const std::string& tmp_file_name,
                                         const std::string& extension,
                                         TestCentre centre);

/// The deviations that the statistics of a test measure: the values minus
/// the centre (all zero for CSR), one per distance.
[[nodiscard]] std::vector<double> deviations(const std::vector<double>& values,
                                             const std::vector<double>& centre);

/// The pointwise mean of the simulated curves (1 .. n_simulations), added
/// in pattern order. Returns "", "MAF:2" or the incomplete-file text.
[[nodiscard]] Status simulated_mean(const RunParameters& parameters,
                                    const CurveSource& curves,
                                    std::vector<double>& mean);

enum class TestKind { kSupremum, kCramerVonMises };

/// The statistic of every curve (statistics[0] the observed one's): the
/// deviations from the centre, their supremum or their Cramer-von Mises
/// integral. Returns "", "MAF:2", "MAF:3" or the incomplete-file text.
[[nodiscard]] Status test_statistics(const RunParameters& parameters,
                                     const CurveSource& curves, TestKind kind,
                                     TestCentre centre, double csr_value,
                                     std::vector<double>& statistics);

/// Writes the ".sup" file (or "_mean.sup" with the mean as centre) beside
/// the temporary file; centred on CSR, the statistics measure departure
/// from `csr_value` (0 for L(t) - t, 1 for g). Returns "", "MAF:2",
/// "MAF:3", the incomplete-file or the write-error text. When `outcome` is
/// given it receives the observed statistic's rank and p-value once every
/// statistic is known.
[[nodiscard]] Status supremum_test(const AnalysisState& state,
                                   const std::string& tmp_file_name,
                                   TestCentre centre = TestCentre::kCsr,
                                   double csr_value = 0.0,
                                   TestOutcome* outcome = nullptr);

/// Writes the ".cvm" file (or "_mean.cvm") beside the temporary file;
/// results as above.
[[nodiscard]] Status cvm_test(const AnalysisState& state,
                              const std::string& tmp_file_name,
                              TestCentre centre = TestCentre::kCsr,
                              double csr_value = 0.0,
                              TestOutcome* outcome = nullptr);

}  // namespace qlor
