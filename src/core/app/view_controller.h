// The view controller: the state of the main window's text view and the
// handlers of every menu command, free of any window toolkit. The desktop
// window and the console program are thin adapters over it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/app_context.h"
#include "analysis/open_dialogs.h"
#include "analysis/pattern_run.h"
#include "app/commands.h"
#include "app/config_file.h"
#include "app/view_scroll.h"

namespace qlor {

inline constexpr const char* kBandwidthRefused =
    "The bandwidth must be a positive number (or empty for 0.15 / "
    "sqrt(lambda))  ";

inline constexpr const char* kIntensityRefused =
    "The intensity must be none, kernel, kernel:SIGMA with SIGMA a positive "
    "number, or the path of a grid file  ";

class ViewController {
 public:
  /// Sets up the view's state and reads the configuration file at
  /// `config_path` (qlor.ini in the current directory by default).
  ViewController(Platform& platform, const Clock& clock,
                 const std::string& config_path = kConfigFileName,
                 MissingConfig missing = MissingConfig::kReport);

  ViewController(const ViewController&) = delete;
  ViewController& operator=(const ViewController&) = delete;

  /// The platform, clock, settings and pattern executor the commands work
  /// with.
  [[nodiscard]] AppContext& context() { return ctx_; }
  [[nodiscard]] const AppContext& context() const { return ctx_; }

  /// Chooses `path` as File Open would, without showing it: the input of
  /// the next run, and the batch file when its name ends in ".bat". An empty
  /// path chooses nothing: the next command asks.
  void choose_file(const std::string& path);

  [[nodiscard]] const std::string& input_path() const {
    return view_.input_path;
  }
  [[nodiscard]] const std::vector<std::string>& text_lines() const {
    return view_.text_lines;
  }
  [[nodiscard]] const std::vector<std::string>& batch_entries() const {
    return view_.batch_entries;
  }
  [[nodiscard]] std::int32_t first_line() const { return view_.first_line; }
  [[nodiscard]] std::int32_t line_count() const {
    return static_cast<std::int32_t>(view_.text_lines.size());
  }
  [[nodiscard]] std::int32_t lines_per_page() const {
    return view_.lines_per_page;
  }
  [[nodiscard]] std::int32_t open_cancelled() const {
    return view_.open_cancelled;
  }
  [[nodiscard]] std::int32_t batch_selected() const {
    return view_.batch_selected;
  }
  [[nodiscard]] bool scroll_bars_shown() const {
    return view_.scroll_bars_shown;
  }

  /// The tests of significance of the runs since the last call, in the
  /// order they ran; the front end reports them.
  [[nodiscard]] std::vector<TestOutcome> take_test_outcomes();

  /// The files simulated since the last call, with their generator and
  /// seed; the front end reports them.
  [[nodiscard]] std::vector<SeededFile> take_run_seeds();

  /// True for the commands the view handles; the front end handles the
  /// others (Exit, About, Status Bar).
  [[nodiscard]] static bool handles(int command);

  /// Runs a menu command to its end. Returns true when it completed: a run
  /// that ended with the completion message, a batch pass that ran, a file
  /// that was opened, a setting that was applied. False also for commands
  /// the view does not handle.
  bool on_command(int command);

  /// True when the menu shows `command` with a check mark (settings items).
  [[nodiscard]] bool is_checked(int command) const;

  /// True while the configuration file's automatic run waits for the first
  /// repaint.
  [[nodiscard]] bool has_pending_autorun() const;

  /// The first repaint's automatic run: the batch form for a batch file,
  /// else the automatic single-file run, with the path in the window title
  /// meanwhile. Does nothing when none is pending. Returns true when a run
  /// took place and succeeded.
  bool run_pending_autorun();

  /// Lays the view out for a client area of `client_height` pixels and
  /// lines of `line_height` pixels, and returns the lines to draw from the
  /// top, starting at `first_line` (views into `text_lines`, valid until the
  /// next command).
  std::vector<std::string_view> layout(int client_height, int line_height);

  /// A scroll-bar action; returns true when the view must be repainted.
  bool on_vscroll(ScrollAction action, std::int32_t thumb = 0);

 private:
  // Keeps a run's tests for the front end and tells whether it completed.
  bool finish(RunOutcome outcome);
  // Analysis > Function > Bandwidth...: true when a bandwidth was set.
  bool ask_bandwidth();
  bool ask_intensity();

  AppContext ctx_;
  ViewState view_;
  std::vector<TestOutcome> test_outcomes_;
  std::vector<SeededFile> run_seeds_;
};

}  // namespace qlor
