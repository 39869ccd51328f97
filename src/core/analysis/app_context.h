// What every command and run of one QLOR session works with: the platform,
// the clock, the settings and where the simulated patterns are made. Passed
// explicitly to the code that needs it; there are no mutable globals. What a
// run finds out travels back in its return value, and what the next command
// needs lives in the view controller's `ViewState`.
#pragma once

#include "analysis/pattern_executor.h"
#include "analysis/view_state.h"
#include "model/clock.h"
#include "model/settings.h"
#include "platform/platform.h"

namespace qlor {

struct AppContext {
  AppContext(Platform& platform_in, const Clock& clock_in)
      : platform(platform_in), clock(clock_in) {}

  Platform& platform;
  const Clock& clock;
  RunSettings settings;
  /// Makes the simulated patterns of every run: this process's worker
  /// threads unless the front end installs another (the MPI ranks).
  PatternExecutor* executor = &default_executor();
};

}  // namespace qlor
