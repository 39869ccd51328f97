// Reading a run's curves for the global envelope test. The checks are
// those of the significance-only run, so that both refuse the same files
// with the same messages.
#include "batch/global_envelope_run.h"

#include <fstream>
#include <new>

#include "analysis/open_dialogs.h"
#include "batch/significance_only.h"
#include "input/sample_header.h"
#include "model/analysis_state.h"
#include "results/curve_source.h"

namespace qlor {

namespace {

Status read_curves(const AnalysisState& state, RunCurves& run) {
  const auto n_t = static_cast<std::size_t>(state.last_interval) + 1;
  try {
    run.curves.assign(static_cast<std::size_t>(state.n_simulations) + 1,
                      std::vector<double>(n_t));
    run.t.resize(n_t);
  } catch (const std::bad_alloc&) {
    run.curves.clear();
    return Status::allocation_failure(AllocationCause::kIntervals);
  }
  for (std::size_t i = 0; i < n_t; ++i) {
    run.t[i] = state.t_of(static_cast<std::int32_t>(i));
  }
  const TmpFileCurves curves(run.tmp_path, run.curves.size(), n_t);
  return curves.each([&](std::size_t s, const std::vector<double>& curve) {
    run.curves[s] = curve;
  });
}

}  // namespace

Status read_run_curves(const std::string& tmp_path, RunCurves& run) {
  run = {};
  run.tmp_path = tmp_path;
  if (!can_open_for_reading(tmp_path)) return kFileOpenError;
  for (const std::string& candidate : corresponding_dat_candidates(tmp_path)) {
    if (can_open_for_reading(candidate)) {
      run.sample_path = candidate;
      break;
    }
  }
  if (run.sample_path.empty()) return kDatNotFound;
  AnalysisState state;
  double pairs_total = 0;
  // No direction: one temporary file is one set of curves.
  if (auto s = read_header_values(run.sample_path, state, Direction::kNone,
                                  Significance::kNone, pairs_total);
      !s.ok()) {
    return s;
  }
  // The whole file is checked first: short, surplus and cut-off files are
  // refused before any curve is kept.
  if (auto s = check_tmp_file(state, tmp_path); !s.ok()) return s;
  return read_curves(state, run);
}

}  // namespace qlor
