// Where the observed statistic of a test of significance stands among the
// statistics of all patterns, and its Monte Carlo p-value.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qlor {

struct TestOutcome {
  std::string test_name;      // "Supremum test", "Cramer-von Mises test"
  std::string file_name;      // the test file written
  std::int64_t rank = 0;      // statistics >= the observed one, itself included
  std::int64_t n_values = 0;  // all statistics: n_simulations + 1
  double p_value = 0;         // rank / n_values
  std::string note;           // what the test answers, when worth saying
};

/// Ranks statistics[0], the observed statistic, among all of them in full
/// precision: rank = how many are at least as large (the observed one
/// included), p = rank / (n + 1).
[[nodiscard]] TestOutcome rank_observed(const std::vector<double>& statistics);

/// "Supremum test: rank 1 of 100, p = 0.01", and the note in brackets.
[[nodiscard]] std::string format_test_outcome(const TestOutcome& outcome);

}  // namespace qlor
