// The global rank envelope test by extreme rank length (ERL) over a set of
// curves: the observed L(t) - t and its simulations at every distance.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "results/curve_source.h"

namespace qlor {

/// Pointwise two-sided ranks: at each distance the average rank from below
/// `lo` of every curve's value among the N curves (ties share the mean of
/// their ranks), and the two-sided rank min(lo, N + 1 - lo). Small ranks
/// are extreme, 1 the most extreme. Result[i][k]: curve i, distance k.
[[nodiscard]] CurveSet two_sided_ranks(const CurveSet& curves);

/// The extreme rank length of every curve: its pointwise ranks sorted
/// ascending, the curves ordered lexicographically by these vectors, and
/// each curve's average position in that order (1 = most extreme; curves
/// with equal vectors share the mean of their positions).
[[nodiscard]] std::vector<double> erl_ranks(const CurveSet& ranks);

/// For every curve, how many curves (itself included) have a sorted rank
/// vector lexicographically at most its own: at least as extreme.
[[nodiscard]] std::vector<std::int64_t> at_least_as_extreme(
    const CurveSet& ranks);

/// A run of consecutive distances where the observed value lies strictly
/// above the envelope's upper curve or strictly below its lower one.
struct OutsideRange {
  std::size_t first = 0;  // distance indices, inclusive
  std::size_t last = 0;
  bool above = false;
};

/// The test and the 100(1 - alpha) % global envelope.
struct GlobalEnvelope {
  double alpha = 0.05;
  std::int64_t n_curves = 0;  // n_simulations + 1
  std::int64_t rank = 0;      // curves at least as extreme as the observed
  double p_value = 1;         // rank / n_curves
  std::int64_t n_kept = 0;    // curves that span the envelope
  std::vector<double> lower;
  std::vector<double> upper;
  /// Where the observed curve leaves the envelope.
  std::vector<OutsideRange> outside;
  /// Only when p <= alpha and the observed curve leaves the envelope
  /// nowhere, which tied values allow: the distances of its most extreme
  /// pointwise rank where it lies on the envelope's edge.
  std::vector<std::size_t> touching;
};

/// Computes the ERL test of curves[0] (values finite numbers, as the
/// temporary file holds them) and the envelope: the pointwise
/// minimum and maximum over the curves whose own p-value (share of curves
/// at least as extreme) exceeds alpha. Assumes at least one curve, equal
/// lengths and 0 < alpha < 1.
[[nodiscard]] GlobalEnvelope global_envelope(const CurveSet& curves,
                                             double alpha);

/// The maximal runs where `observed` leaves [lower, upper], by distance.
[[nodiscard]] std::vector<OutsideRange> outside_ranges(
    const std::vector<double>& lower, const std::vector<double>& upper,
    const std::vector<double>& observed);

/// "Global envelope test (extreme rank length): p = 0.012 (199
/// simulations)".
[[nodiscard]] std::string format_global_outcome(const GlobalEnvelope& g);

/// "outside at t = 3 - 7 (above), 18 - 25 (below)"; for a rejection by
/// tied values only, where the observed curve touches the edge; else
/// "inside the 95 % global envelope at every t".
[[nodiscard]] std::string format_outside(const std::vector<double>& t,
                                         const GlobalEnvelope& g);

/// The number of simulations advised for a level: 2499 at alpha 0.05,
/// (125 / alpha) - 1 in general, rounded up.
[[nodiscard]] std::int64_t advised_simulations(double alpha);

/// A note when the simulations are too few for the level, else "".
[[nodiscard]] std::string few_simulations_note(const GlobalEnvelope& g);

/// The envelope as CSV, "t,lower,upper,observed" and one line per
/// distance, numbers as the output files write them.
[[nodiscard]] std::string global_envelope_csv(
    const std::vector<double>& t, const GlobalEnvelope& g,
    const std::vector<double>& observed);

}  // namespace qlor
