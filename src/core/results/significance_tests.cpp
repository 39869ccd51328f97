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

namespace qlor {

namespace {

using Statistic = std::function<double(const std::vector<double>&)>;

Status rank_test(const AnalysisState& state, const std::string& tmp_file_name,
                 const std::string& extension, TestCentre centre,
                 double csr_value, const Statistic& statistic,
                 const char* test_name, TestOutcome* outcome) {
  std::vector<double> block;
  std::vector<double> statistics;
  if (auto s =
          allocate(block, static_cast<std::size_t>(state.last_interval) + 1,
                   AllocationCause::kIntervals);
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
    if (auto s = simulated_mean(state, tmp_file_name, reference); !s.ok()) {
      return s;
    }
  } else if (csr_value != 0) {
    reference.assign(block.size(), csr_value);
  }
  TmpFileReader reader;
  if (!reader.open(tmp_file_name)) return kTmpIncomplete;
  for (auto& stat : statistics) {
    if (!reader.read_block(block)) return kTmpIncomplete;
    stat = statistic(reference.empty() ? block : deviations(block, reference));
  }
  const std::string file_name =
      test_file_name(tmp_file_name, extension, centre);
  if (outcome) {
    *outcome = rank_observed(statistics);
    outcome->test_name = test_name;
    if (centre == TestCentre::kMean) {
      outcome->test_name += ", centred on the mean of the simulations";
    }
    outcome->file_name = file_name;
  }
  return write_text_file(file_name,
                         format_ranked_statistics(std::move(statistics)));
}

}  // namespace

std::string test_file_ending(const std::string& extension,
                             TestCentre centre) {
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

Status simulated_mean(const AnalysisState& state,
                      const std::string& tmp_file_name,
                      std::vector<double>& mean) {
  const auto distances = static_cast<std::size_t>(state.last_interval) + 1;
  std::vector<double> block;
  if (auto s = allocate(block, distances, AllocationCause::kIntervals);
      !s.ok()) {
    return s;
  }
  if (auto s = allocate(mean, distances, AllocationCause::kIntervals);
      !s.ok()) {
    return s;
  }
  TmpFileReader reader;
  if (!reader.open(tmp_file_name) || !reader.read_block(block)) {
    return kTmpIncomplete;
  }
  for (std::int32_t s = 1; s <= state.n_simulations; ++s) {
    if (!reader.read_block(block)) return kTmpIncomplete;
    for (std::size_t i = 0; i < distances; ++i) mean[i] += block[i];
  }
  if (state.n_simulations > 0) {
    for (double& m : mean) m /= state.n_simulations;
  }
  return {};
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
  return rank_test(state, tmp_file_name, ".sup", centre, csr_value,
                   supremum_statistic, "Supremum test", outcome);
}

Status cvm_test(const AnalysisState& state, const std::string& tmp_file_name,
                TestCentre centre, double csr_value, TestOutcome* outcome) {
  return rank_test(
      state, tmp_file_name, ".cvm", centre, csr_value,
      [&](const std::vector<double>& v) {
        return cvm_statistic(v, state.t_max);
      },
      "Cramer-von Mises test", outcome);
}

}  // namespace qlor
