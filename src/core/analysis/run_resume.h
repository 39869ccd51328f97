// What makes a run repeatable and resumable: its run record, written at the
// start beside the temporary file, and the check that an interrupted run's
// record and whole patterns are those of the run asked for now.
#pragma once

#include <cstdint>

#include "analysis/app_context.h"
#include "analysis/pattern_run.h"
#include "results/run_record.h"

namespace qlor {

/// The record of a run of `files` with `function` and `seed` from the
/// sample `state` (its parameters as read). Returns "" or the message when
/// the sample (or intensity) file cannot be read for its checksum.
[[nodiscard]] Status make_run_record(const AppContext& ctx,
                                     const AnalysisState& state,
                                     const SummaryFunction& function,
                                     const RunFiles& files, const RunSeed& seed,
                                     RunRecord& record);

/// The seed an earlier run of `files` recorded; false when there is no
/// readable record or it holds no seed.
[[nodiscard]] bool recorded_seed(const RunFiles& files, RunSeed& seed);

/// Where a resumed run goes on: the first pattern not whole in every
/// temporary file (0 .. n + 1), after the cut-off start of a pattern has
/// been cut away. An earlier run that left neither a record nor a
/// temporary file starts at 0. Returns "" or the message that says what
/// differs from `requested` or which file is not whole patterns; nothing is
/// changed then.
[[nodiscard]] Status resume_point(const RunFiles& files,
                                  const RunRecord& requested,
                                  const AnalysisState& state,
                                  std::int32_t& first);

}  // namespace qlor
