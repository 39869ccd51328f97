// The platform interface: what the run drivers need from a screen. The
// console program, the desktop window and the scripted test double
// implement it; the core never touches a window itself.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qlor {

enum class Buttons { kOk, kYesNo };
enum class Icon { kNone, kStop };
enum class Answer { kOk, kYes, kNo };

/// A file chosen in a file-open dialog: the full path and the bare name.
struct ChosenFile {
  std::string path;
  std::string name;
};

/// Control identifiers of the progress dialogs.
enum ProgressControl : int {
  kBarAll = 1000,   // one-bar: the run; two-bar: all files
  kBarFile = 1003,  // two-bar: the current file
  kTextRun = 131,   // one-bar status line
  kTextAll = 133,   // two-bar status line of all files
  kTextFile = 134,  // two-bar status line of the current file
};

/// A modeless progress dialog, created hidden; destroying it closes it.
class ProgressDialog {
 public:
  virtual ~ProgressDialog() = default;
  virtual void show() = 0;
  virtual void set_bar(int control, int percent) = 0;
  virtual void set_text(int control, std::string_view text) = 0;
  /// Repaints at once, without dispatching other window messages.
  virtual void repaint() = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;
  /// Shows a modal message box and returns the button pressed.
  virtual Answer message_box(std::string_view text, Buttons buttons,
                             Icon icon) = 0;
  /// Asks for a file to open; nothing when the user cancels.
  virtual std::optional<ChosenFile> open_file_dialog(
      std::string_view title, std::string_view filter) = 0;
  /// Creates a hidden progress dialog with one or two bars.
  virtual std::unique_ptr<ProgressDialog> create_progress_dialog(
      bool two_bars) = 0;
  /// Asks for a line of text, showing `initial`; nothing when the user
  /// cancels (and on platforms that cannot ask).
  virtual std::optional<std::string> ask_text(std::string_view title,
                                              std::string_view prompt,
                                              std::string_view initial) {
    (void)title;
    (void)prompt;
    (void)initial;
    return std::nullopt;
  }
  virtual void set_window_title(std::string_view title) = 0;
  /// The text view shows these lines from now on (after a repaint).
  virtual void show_text(const std::vector<std::string>& lines) = 0;
};

}  // namespace qlor
