// Stopping a long run cleanly: SIGTERM (a batch system's preemption or time
// limit) and SIGINT (Ctrl-C) that arrive while patterns are being simulated
// ask the run to stop after its next whole pattern, which keeps every whole
// pattern in the temporary file for --resume. Outside that window, and for
// a second signal, the signal does what it always does.
#pragma once

namespace qlor {

/// Installs the handlers of SIGTERM and SIGINT (the console does, once).
void catch_stop_signals();

/// While one exists, a caught signal asks the run to stop.
class StopWindow {
 public:
  StopWindow();
  ~StopWindow();
  StopWindow(const StopWindow&) = delete;
  StopWindow& operator=(const StopWindow&) = delete;
};

/// The signal that asked the run to stop; 0 when none did.
[[nodiscard]] int stop_signal();

/// Asks to stop as signal `signal` would (the parallel job passes a
/// worker's signal on with it; tests use it), or clears the request (0).
void request_stop(int signal);

}  // namespace qlor
