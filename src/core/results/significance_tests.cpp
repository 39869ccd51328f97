// The two tests of significance share the reading of the temporary file,
// the ranking and the file layout; only the statistic differs.
#include "results/significance_tests.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "results/file_names.h"
#include "results/number_format.h"
#include "results/result_file.h"
#include "results/tmp_file.h"
#include "results/whole_file.h"

namespace qlor {

namespace {

const char* test_name(TestKind kind) {
  return kind == TestKind::kSupremum ? "Supremum test"
                                     : "Cramer-von Mises test";
}

const char* test_extension(TestKind kind) {
  return kind == TestKind::kSupremum ? ".sup" : ".cvm";
}

Status rank_test(const AnalysisState& state, const std::string& tmp_file_name,
                 TestKind kind, TestCentre centre, double csr_value,
                 TestOutcome* outcome) {
  const TmpFileCurves curves(tmp_file_name,
                             static_cast<std::size_t>(state.n_simulations) + 1,
                             static_cast<std::size_t>(state.last_interval) + 1);
  std::vector<double> statistics;
  if (auto s =
          test_statistics(state, curves, kind, centre, csr_value, statistics);
      !s.ok()) {
    return s;
  }
  const std::string file_name =
      test_file_name(tmp_file_name, test_extension(kind), centre);
  if (outcome) {
    *outcome = rank_observed(statistics);
    outcome->test_name = test_name(kind);
    if (centre == TestCentre::kMean) {
      outcome->test_name += ", centred on the mean of the simulations";
    }
    outcome->file_name = file_name;
  }
  return write_whole_file(file_name,
                          format_ranked_statistics(std::move(statistics)));
}

}  // namespace

std::string test_file_ending(const std::string& extension, TestCentre centre) {
  return centre == TestCentre::kMean ? "_mean" + extension : extension;
}

std::string test_file_name(const std::string& tmp_file_name,
                           const std::string& extension, TestCentre centre) {
  return change_extension(tmp_file_name, test_file_ending(extension, centre));
}

std::vector<double> deviations(const std::vector<double>& values,
                               const std::vector<double>& centre) {
  std::vector<double> d(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) d[i] = values[i] - centre[i];
  return d;
}

Status simulated_mean(const RunParameters& state, const CurveSource& curves,
                      std::vector<double>& mean) {
  const auto distances = static_cast<std::size_t>(state.last_interval) + 1;
  if (auto s = allocate(mean, distances, AllocationCause::kIntervals);
      !s.ok()) {
    return s;
  }
  if (auto s = curves.each(
          [&](std::size_t pattern, const std::vector<double>& curve) {
            if (pattern == 0) return;
            for (std::size_t i = 0; i < distances; ++i) mean[i] += curve[i];
          });
      !s.ok()) {
    return s;
  }
  if (state.n_simulations > 0) {
    for (double& m : mean) m /= state.n_simulations;
  }
  return {};
}

Status test_statistics(const RunParameters& state, const CurveSource& curves,
                       TestKind kind, TestCentre centre, double csr_value,
                       std::vector<double>& statistics) {
  const auto distances = static_cast<std::size_t>(state.last_interval) + 1;
  // The per-distance arrays first, then the statistics, as their failures
  // are reported.
  std::vector<double> probe;
  if (auto s = allocate(probe, distances, AllocationCause::kIntervals);
      !s.ok()) {
    return s;
  }
  if (auto s = allocate(statistics,
                        static_cast<std::size_t>(state.n_simulations) + 1,
                        AllocationCause::kSimulations);
      !s.ok()) {
    return s;
  }
  // L(t) - t departs from its CSR value 0 by its very values.
  std::vector<double> reference;
  if (centre == TestCentre::kMean) {
    if (auto s = simulated_mean(state, curves, reference); !s.ok()) return s;
  } else if (csr_value != 0) {
    reference.assign(distances, csr_value);
  }
  const double t_max = state.t_max;
  return curves.each([&](std::size_t pattern,
                         const std::vector<double>& curve) {
    const std::vector<double>& d =
        reference.empty() ? curve : (probe = deviations(curve, reference));
    statistics[pattern] = kind == TestKind::kSupremum ? supremum_statistic(d)
                                                      : cvm_statistic(d, t_max);
  });
}

double supremum_statistic(const std::vector<double>& values) {
  double largest = values.front();
  double smallest = values.front();
  for (double v : values) {
    largest = std::max(largest, v);
    smallest = std::min(smallest, v);
  }
  return std::max(std::fabs(largest), std::fabs(smallest));
}

double cvm_statistic(const std::vector<double>& values, double t_max) {
  const std::size_t n = values.size() - 1;
  double q = 0;
  for (std::size_t i = 0; i <= n; ++i) {
    const double square = values[i] * values[i];
    // Trapezoidal rule: the first and the last distance weigh one half.
    q += (i == 0 || i == n) ? square / 2 : square;
  }
  return q / static_cast<double>(n + 1) * t_max;
}

std::string format_ranked_statistics(std::vector<double> statistics) {
  const double observed = statistics.front();
  const auto n_sims = static_cast<std::int64_t>(statistics.size()) - 1;
  std::sort(statistics.begin(), statistics.end(), std::greater<>());
  std::string text;
  bool marked = false;
  for (std::size_t k = 0; k < statistics.size(); ++k) {
    text += std::to_string(n_sims - static_cast<std::int64_t>(k));
    text += '\t';
    append_g(text, statistics[k]);
    if (!marked && statistics[k] == observed) {
      text += "\t*";
      marked = true;
    }
    text += "\r\n";
  }
  return text;
}

Status supremum_test(const AnalysisState& state,
                     const std::string& tmp_file_name, TestCentre centre,
                     double csr_value, TestOutcome* outcome) {
  return rank_test(state, tmp_file_name, TestKind::kSupremum, centre, csr_value,
                   outcome);
}

Status cvm_test(const AnalysisState& state, const std::string& tmp_file_name,
                TestCentre centre, double csr_value, TestOutcome* outcome) {
  return rank_test(state, tmp_file_name, TestKind::kCramerVonMises, centre,
                   csr_value, outcome);
}

}  // namespace qlor
