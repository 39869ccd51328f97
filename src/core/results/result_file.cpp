// Envelope writers. All computations use the values as read back from the
// temporary file (six significant digits), never the in-memory values.
#include "results/result_file.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "results/file_names.h"
#include "results/number_format.h"
#include "results/tmp_file.h"

namespace qlor {

namespace {

void append_result_line(std::string& out, double t, double upper, double lower,
                        double observed) {
  append_g(out, t);
  out += ' ';
  append_g(out, upper);
  out += ' ';
  append_g(out, lower);
  out += ' ';
  append_g(out, observed);
  out += "\r\n";
}

// Reads every block of a temporary file: block s into rows[s].
Status read_all_blocks(const std::string& path,
                       std::vector<std::vector<double>>& rows) {
  TmpFileReader reader;
  if (!reader.open(path)) return kTmpIncomplete;
  for (auto& row : rows) {
    if (!reader.read_block(row)) return kTmpIncomplete;
  }
  return {};
}

// One pass of the standard-deviation writer over a temporary file: block 0
// into `observed`, then fn(i, value) for every simulated value.
template <class Fn>
Status scan_simulations(const std::string& path, std::int32_t n_sims,
                        std::vector<double>& observed,
                        std::vector<double>& block, Fn&& fn) {
  TmpFileReader reader;
  if (!reader.open(path) || !reader.read_block(observed)) return kTmpIncomplete;
  for (std::int32_t s = 1; s <= n_sims; ++s) {
    if (!reader.read_block(block)) return kTmpIncomplete;
    for (std::size_t i = 0; i < block.size(); ++i) fn(i, block[i]);
  }
  return {};
}

}  // namespace

Status write_text_file(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  out.close();
  if (!out) return kFileWriteError + path;
  return {};
}

Status write_envelopes_minmax(const AnalysisState& state,
                              const std::vector<std::string>& tmp_paths) {
  const auto n_rows = static_cast<std::size_t>(state.n_simulations) + 1;
  const auto n_dist = static_cast<std::size_t>(state.last_interval) + 1;
  std::vector<std::vector<double>> rows;
  if (!fits_in_memory(n_rows, sizeof(std::vector<double>)))
    return Status::allocation_failure(AllocationCause::kSimulations);
  try {
    rows.resize(n_rows);
  } catch (const std::exception&) {
    return Status::allocation_failure(AllocationCause::kSimulations);
  }
  for (auto& row : rows) {
    if (auto s =
            allocate(row, n_dist, AllocationCause::kSimulationsOrIntervals);
        !s.ok())
      return s;
  }
  for (const auto& tmp_path : tmp_paths) {
    if (auto s = read_all_blocks(tmp_path, rows); !s.ok()) return s;
    std::string text;
    for (std::size_t i = 0; i < n_dist; ++i) {
      double upper = rows[1][i];
      double lower = rows[1][i];
      for (std::size_t s = 2; s < n_rows; ++s) {
        upper = std::max(upper, rows[s][i]);
        lower = std::min(lower, rows[s][i]);
      }
      append_result_line(text, state.t_of(static_cast<std::int32_t>(i)), upper,
                         lower, rows[0][i]);
    }
    const std::string out_file_name = change_extension(tmp_path, ".ktt");
    if (auto s = write_text_file(out_file_name, text); !s.ok()) return s;
  }
  return {};
}

Status write_envelopes_stdev(const AnalysisState& state,
                             const std::vector<std::string>& tmp_paths) {
  const auto n_dist = static_cast<std::size_t>(state.last_interval) + 1;
  std::vector<double> observed, sum, mean, sum_sq, sd, block;
  for (auto* v : {&observed, &sum, &mean, &sum_sq, &sd, &block}) {
    if (auto s = allocate(*v, n_dist, AllocationCause::kSimulations); !s.ok())
      return s;
  }
  const std::int32_t n_sims = state.n_simulations;
  for (const auto& tmp_path : tmp_paths) {
    std::fill(sum.begin(), sum.end(), 0.0);
    std::fill(sum_sq.begin(), sum_sq.end(), 0.0);
    auto status =
        scan_simulations(tmp_path, n_sims, observed, block,
                         [&](std::size_t i, double x) { sum[i] += x; });
    if (!status.ok()) return status;
    for (std::size_t i = 0; i < n_dist; ++i) mean[i] = sum[i] / n_sims;
    status = scan_simulations(tmp_path, n_sims, observed, block,
                              [&](std::size_t i, double x) {
                                sum_sq[i] += (mean[i] - x) * (mean[i] - x);
                              });
    if (!status.ok()) return status;
    std::string text;
    for (std::size_t i = 0; i < n_dist; ++i) {
      sd[i] = std::sqrt(sum_sq[i] / (n_sims - 1));
      append_result_line(text, state.t_of(static_cast<std::int32_t>(i)),
                         mean[i] + 1.96 * sd[i], mean[i] - 1.96 * sd[i],
                         observed[i]);
    }
    const std::string out_file_name = change_extension(tmp_path, ".ktt");
    if (auto s = write_text_file(out_file_name, text); !s.ok()) return s;
  }
  return {};
}

}  // namespace qlor
