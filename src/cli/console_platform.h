// The console front end's platform: message boxes are printed, questions
// answered by flags or at a prompt, the progress dialog is one line on
// stderr redrawn in place.
#pragma once

#include <deque>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

#include "platform/platform.h"

namespace qlor {

class ConsolePlatform final : public Platform {
 public:
  /// `answer` answers every Yes/No question when set; otherwise the prompt
  /// reads a line from `in` (end of input means No). Without
  /// `show_progress` the progress dialogs stay silent.
  ConsolePlatform(std::istream& in, std::ostream& out, std::ostream& err,
                  std::optional<bool> answer, bool show_progress = true)
      : in_(in),
        out_(out),
        err_(err),
        answer_(answer),
        show_progress_(show_progress) {}

  /// The next file dialog chooses `path` without asking (a path given on
  /// the command line).
  void preset_file(std::string path) {
    preset_files_.push_back(std::move(path));
  }

  /// Questions and file prompts that no flag or preset answers are not
  /// asked: a note on stderr says how to answer them, and the answer is No
  /// (or no file). For runs under an MPI launcher without a terminal, whose
  /// prompt nobody could answer.
  void refuse_prompts() { refuse_prompts_ = true; }

  Answer message_box(std::string_view text, Buttons buttons,
                     Icon icon) override;
  std::optional<ChosenFile> open_file_dialog(std::string_view title,
                                             std::string_view filter) override;
  std::unique_ptr<ProgressDialog> create_progress_dialog(
      bool two_bars) override;
  void set_window_title(std::string_view) override {}
  void show_text(const std::vector<std::string>&) override {}

 private:
  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
  std::optional<bool> answer_;
  bool show_progress_;
  std::deque<std::string> preset_files_;
  bool refuse_prompts_ = false;
};

}  // namespace qlor
