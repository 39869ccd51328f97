// The program-wide values of one QLOR session: settings, path buffers,
// counters, the view's state and the platform. Passed explicitly to the code
// that needs it; there are no mutable globals.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/clock.h"
#include "model/settings.h"
#include "platform/platform.h"
#include "results/test_outcome.h"
#include "statistics/kl_estimator.h"

namespace qlor {

class PatternExecutor;

/// The view's fields that the commands and runs read and write.
struct ViewState {
  std::vector<std::string> text_lines;
  std::vector<std::string> batch_entries;
  std::int32_t first_line = 0;
  std::int32_t open_cancelled = 0;
  std::int32_t batch_selected = 0;
  /// Lines that fit in the view's client area, set by the front end when it
  /// lays the view out; page up and down move by one less.
  std::int32_t lines_per_page = 0;
  /// True while the view shows its scroll bars (after an open, until File
  /// Close).
  bool scroll_bars_shown = false;
};

struct AppContext {
  AppContext(Platform& platform_in, const Clock& clock_in)
      : platform(platform_in), clock(clock_in) {}

  Platform& platform;
  const Clock& clock;
  RunSettings settings;
  ViewState view;

  std::string input_path;
  std::string batch_file_name;
  std::string tmp_file_name;
  std::string err_file_name;
  std::array<std::string, 4> sector_tmp_file_name{};
  std::string file_title;
  Status status_text;
  ProgressCounters counters;

  /// Worker threads for the simulated patterns (0: every hardware thread).
  int threads = 0;
  /// Makes the simulated patterns of every run; null: this process's worker
  /// threads. Not owned.
  PatternExecutor* executor = nullptr;
  /// True when the last run ended with the completion message (or, for an
  /// automatic run, without failure).
  bool last_run_complete = false;
  /// The tests of significance of the runs so far, in the order they ran;
  /// the front end reports and clears them.
  std::vector<TestOutcome> test_outcomes;
};

}  // namespace qlor
