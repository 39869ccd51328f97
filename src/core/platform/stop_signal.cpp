// The stop request is a lock-free atomic, which a signal handler may set.
#include "platform/stop_signal.h"

#include <atomic>
#include <csignal>

namespace qlor {

namespace {

std::atomic<int> g_requested{0};
std::atomic<int> g_windows{0};

extern "C" void on_stop_signal(int signal) {
  if (g_windows.load() > 0 && g_requested.load() == 0) {
    g_requested.store(signal);
    return;
  }
  // No run to stop, or asked twice: the signal's own action.
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

}  // namespace

void catch_stop_signals() {
  static_assert(std::atomic<int>::is_always_lock_free);
  std::signal(SIGTERM, on_stop_signal);
  std::signal(SIGINT, on_stop_signal);
}

StopWindow::StopWindow() { g_windows.fetch_add(1); }

StopWindow::~StopWindow() { g_windows.fetch_sub(1); }

int stop_signal() { return g_requested.load(); }

void request_stop(int signal) { g_requested.store(signal); }

}  // namespace qlor
