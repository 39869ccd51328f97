// The summary function of a run: what is estimated from every pattern, how
// its files are named, its value under complete spatial randomness and its
// axis label, in one place per function. The run's pipeline, the tests,
// the envelopes and the plots take any of them.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/analysis_state.h"
#include "model/intensity.h"
#include "model/settings.h"
#include "statistics/pair_kernel.h"

namespace qlor {

/// The curves of one pattern: one array per file of the run (one, or four
/// sectors), each with one value per distance.
using PatternValues = std::vector<std::vector<double>>;

/// Everything that makes a function: what another rank needs to make the
/// same one.
struct FunctionChoice {
  FunctionKind kind = FunctionKind::kL;
  Direction direction = Direction::kNone;          // L only
  PcfEstimator estimator = PcfEstimator::kKernel;  // g and O only
  double bandwidth = 0.0;    // the kernel's half-width, resolved
  Intensity intensity = {};  // the inhomogeneous functions only
  /// The pairs of a bivariate pattern: across species, or within one (the
  /// univariate function of that species' points).
  PairSet pairs = PairSet::kCross;
};

class SummaryFunction {
 public:
  virtual ~SummaryFunction() = default;

  /// What makes this function (make_summary_function makes it again).
  [[nodiscard]] virtual FunctionChoice choice() const = 0;

  /// Whether the run's parameters allow the function: "" or the message,
  /// before anything is written.
  [[nodiscard]] virtual Status check(const AnalysisState& state) const {
    (void)state;
    return {};
  }
  /// Estimates the curves of the pattern in `state.points` into `values`.
  /// Safe on several threads at once, each with its own state and scratch.
  /// Returns "" or the message for a pattern the function cannot estimate
  /// (an inhomogeneous function's zero intensity at a point).
  [[nodiscard]] virtual Status estimate(AnalysisState& state,
                                        PairScratch& scratch,
                                        PatternValues& values) const = 0;
  /// What the stems of the run's files end in, one per curve: "" for L,
  /// the four sector suffixes of a directional L, "_g", "_O", "_Linhom",
  /// "_ginhom".
  [[nodiscard]] virtual std::vector<std::string> suffixes() const = 0;
  /// The function's value under CSR for the run's pattern (0 for L(t) - t,
  /// 1 for g, the partners' density for O; the inhomogeneous ones' under
  /// the Poisson process of their intensity, 0 and 1): what the tests
  /// centred on CSR measure departure from.
  [[nodiscard]] virtual double csr_value(const AnalysisState& state) const = 0;
  /// "L(t) - t", "g(t)", "O(t)", "L_inhom(t) - t", "g_inhom(t)".
  [[nodiscard]] virtual const char* axis_label() const = 0;
};

/// The function the settings choose for a run of `observed` (the bandwidth
/// of g and O resolved from it) with the run's `intensity` (resolved: the
/// kernel's sigma or the grid read), which turns L into L_inhom and g into
/// g_inhom.
[[nodiscard]] std::unique_ptr<SummaryFunction> make_summary_function(
    const RunSettings& settings, const AnalysisState& observed,
    const Intensity& intensity = {});

/// The one place that turns a choice into a function.
[[nodiscard]] std::unique_ptr<SummaryFunction> make_summary_function(
    const FunctionChoice& choice);

/// What the end of a file's stem says of its run's function: a stem ending
/// in "_g" (as in plot1_g.tmp or plot1_g.ktt) g, in "_O" O, in "_Linhom" or
/// "_ginhom" the inhomogeneous L or g, any other L; its pairs ("_g22": g
/// within species 2; "_L11": L within species 1); and how many characters
/// of the stem say so.
struct StemFunction {
  FunctionKind kind = FunctionKind::kL;
  PairSet pairs = PairSet::kCross;
  std::size_t suffix_size = 0;
};
[[nodiscard]] StemFunction function_of_stem(std::string_view stem);

/// The stem suffix of a function with its pairs: "_g", "_g22", "_L11", "".
[[nodiscard]] std::string function_suffix(FunctionKind kind, PairSet pairs);

/// "g(t), kernel of half-width 0.212", "O(t), rings", "L(t) - t",
/// "L_inhom(t) - t, intensity kernel, sigma 12.5", "L(t) - t, pairs within
/// species 1".
[[nodiscard]] std::string describe_function(const FunctionChoice& choice);

/// The value under CSR of `kind` with `pairs` for the pattern of `state`
/// (only O reads it: the species' counts and the plot's area).
[[nodiscard]] double csr_value_of(FunctionKind kind, const AnalysisState& state,
                                  PairSet pairs = PairSet::kCross);

/// The pattern of one species of a bivariate `state` (key 0 or 1) as a
/// univariate one, with the run's parameters (no distance arrays); of a
/// state without points, the species' observed count alone.
[[nodiscard]] AnalysisState species_pattern(const AnalysisState& state,
                                            int key);

/// The axis label of a function without a run.
[[nodiscard]] const char* function_label(FunctionKind kind);

/// The message for a half-width above the largest a run allows.
[[nodiscard]] std::string bandwidth_too_large(double h, double largest);

/// Whether the run of `parameters` allows the choice's kernel half-width:
/// "" (also for L and the ring estimator) or bandwidth_too_large's message.
[[nodiscard]] Status check_bandwidth(const FunctionChoice& choice,
                                     const RunParameters& parameters);

/// The value of O under CSR for a pattern of `n1` and `n2` points of each
/// species (n2 = 0: univariate) in a plot of area `area`.
[[nodiscard]] double o_ring_csr_value(double n1, double n2, double area);

}  // namespace qlor
