// Envelope writers. All computations use the values as read back from the
// temporary file (six significant digits), never the in-memory values.
#include "results/result_file.h"

#include <algorithm>
#include <cmath>
#include <fstream>

#include "results/file_names.h"
#include "results/number_format.h"
#include "results/tmp_file.h"
#include "results/whole_file.h"

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

// Envelopes as the largest and smallest simulated value.
Status minmax_envelopes(const RunParameters& p, const CurveSource& curves,
                        ResultEnvelopes& out) {
  const auto n_dist = static_cast<std::size_t>(p.last_interval) + 1;
  for (auto* v : {&out.observed, &out.upper, &out.lower}) {
    if (auto s = allocate(*v, n_dist, AllocationCause::kSimulationsOrIntervals);
        !s.ok()) {
      return s;
    }
  }
  return curves.each([&](std::size_t s, const std::vector<double>& curve) {
    if (s == 0) {
      out.observed = curve;
    } else if (s == 1) {
      out.upper = curve;
      out.lower = curve;
    } else {
      for (std::size_t i = 0; i < n_dist; ++i) {
        out.upper[i] = std::max(out.upper[i], curve[i]);
        out.lower[i] = std::min(out.lower[i], curve[i]);
      }
    }
  });
}

// Envelopes as mean +/- 1.96 standard deviations: one pass for the means,
// one for the squared deviations from them.
Status stdev_envelopes(const RunParameters& p, const CurveSource& curves,
                       ResultEnvelopes& out) {
  const auto n_dist = static_cast<std::size_t>(p.last_interval) + 1;
  std::vector<double> sum, mean, sum_sq;
  for (auto* v :
       {&out.observed, &out.upper, &out.lower, &sum, &mean, &sum_sq}) {
    if (auto s = allocate(*v, n_dist, AllocationCause::kSimulations); !s.ok())
      return s;
  }
  const std::int32_t n_sims = p.n_simulations;
  Status status =
      curves.each([&](std::size_t s, const std::vector<double>& curve) {
        if (s == 0) {
          out.observed = curve;
          return;
        }
        for (std::size_t i = 0; i < n_dist; ++i) sum[i] += curve[i];
      });
  if (!status.ok()) return status;
  for (std::size_t i = 0; i < n_dist; ++i) mean[i] = sum[i] / n_sims;
  status = curves.each([&](std::size_t s, const std::vector<double>& curve) {
    if (s == 0) return;
    for (std::size_t i = 0; i < n_dist; ++i) {
      sum_sq[i] += (mean[i] - curve[i]) * (mean[i] - curve[i]);
    }
  });
  if (!status.ok()) return status;
  for (std::size_t i = 0; i < n_dist; ++i) {
    const double sd = std::sqrt(sum_sq[i] / (n_sims - 1));
    out.upper[i] = mean[i] + 1.96 * sd;
    out.lower[i] = mean[i] - 1.96 * sd;
  }
  return {};
}

}  // namespace

Status write_envelopes(const AnalysisState& state,
                       const std::vector<std::string>& tmp_paths) {
  for (const auto& tmp_path : tmp_paths) {
    const TmpFileCurves curves(
        tmp_path, static_cast<std::size_t>(state.n_simulations) + 1,
        static_cast<std::size_t>(state.last_interval) + 1);
    std::string text;
    if (auto s = result_text(state, curves, text); !s.ok()) return s;
    if (auto s = write_whole_file(change_extension(tmp_path, ".ktt"), text);
        !s.ok()) {
      return s;
    }
  }
  return {};
}

Status result_envelopes(const RunParameters& parameters,
                        const CurveSource& curves, ResultEnvelopes& envelopes) {
  envelopes = {};
  if (auto s = parameters.n_simulations < 100
                   ? minmax_envelopes(parameters, curves, envelopes)
                   : stdev_envelopes(parameters, curves, envelopes);
      !s.ok()) {
    return s;
  }
  envelopes.t.resize(envelopes.observed.size());
  for (std::size_t i = 0; i < envelopes.t.size(); ++i) {
    envelopes.t[i] = parameters.t_of(static_cast<std::int32_t>(i));
  }
  return {};
}

Status result_text(const RunParameters& parameters, const CurveSource& curves,
                   std::string& text) {
  text.clear();
  ResultEnvelopes e;
  if (auto s = result_envelopes(parameters, curves, e); !s.ok()) return s;
  for (std::size_t i = 0; i < e.t.size(); ++i) {
    append_result_line(text, e.t[i], e.upper[i], e.lower[i], e.observed[i]);
  }
  return {};
}

}  // namespace qlor
