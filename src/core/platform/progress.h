// The arithmetic and texts of the progress dialogs; the platform only draws.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"

namespace qlor {

/// Percentage of a (total, done) pair: step = trunc(total / 100 + 0.5),
/// percent = trunc(done / step + 0.5). Totals below 50 (step 0) use
/// 100 * done / total instead of dividing by zero.
[[nodiscard]] int progress_percent(double total, double done);

/// Creates the one-bar dialog hidden, initialised to 0%.
[[nodiscard]] std::unique_ptr<ProgressDialog> create_one_bar(
    Platform& platform);

/// Creates the two-bar dialog hidden, initialised to 0%.
[[nodiscard]] std::unique_ptr<ProgressDialog> create_two_bar(
    Platform& platform);

/// Brings the one-bar dialog up to date with the run's counters.
void update_one_bar(ProgressDialog& dialog, double total, double done);

/// Brings the two-bar dialog up to date with the batch's and the file's
/// counters.
void update_two_bar(ProgressDialog& dialog, double all_total, double all_done,
                    double file_total, double file_done,
                    const std::string& name);

}  // namespace qlor
