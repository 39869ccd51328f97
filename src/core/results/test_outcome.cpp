// The Monte Carlo p-value of a test of significance.
#include "results/test_outcome.h"

#include <cstdio>

namespace qlor {

TestOutcome rank_observed(const std::vector<double>& statistics) {
  TestOutcome outcome;
  if (statistics.empty()) return outcome;
  const double observed = statistics.front();
  // "Not smaller" rather than ">=": a statistic that is not a number cannot
  // make the observed pattern look more extreme than it is.
  for (double s : statistics) {
    if (!(s < observed)) ++outcome.rank;
  }
  outcome.n_values = static_cast<std::int64_t>(statistics.size());
  outcome.p_value =
      static_cast<double>(outcome.rank) / static_cast<double>(outcome.n_values);
  return outcome;
}

std::string format_test_outcome(const TestOutcome& outcome) {
  char p[32];
  std::snprintf(p, sizeof p, "%.4g", outcome.p_value);
  std::string text = outcome.test_name;
  text.append(": rank ").append(std::to_string(outcome.rank));
  text.append(" of ").append(std::to_string(outcome.n_values));
  text.append(", p = ").append(p);
  if (!outcome.note.empty()) text.append(" (").append(outcome.note).append(")");
  return text;
}

}  // namespace qlor
