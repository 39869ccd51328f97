// A platform double for tests: records every call and answers questions and
// file dialogs from queues.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace qlor::testing {

/// One recorded message box.
struct ShownBox {
  std::string text;
  Buttons buttons;
  Icon icon;
};

class ScriptedPlatform final : public Platform {
 public:
  /// Answers for Yes/No boxes, in order; an empty queue answers Yes.
  std::deque<Answer> answers;
  /// Files for the open dialogs, in order; nullopt (or an empty queue) is a
  /// cancel.
  std::deque<std::optional<std::string>> files;
  /// Answers of the text questions, in order; nullopt (or an empty queue)
  /// is a cancel.
  std::deque<std::optional<std::string>> text_answers;

  std::vector<ShownBox> boxes;
  std::vector<std::string> dialog_titles;
  std::vector<std::string> titles;
  std::vector<std::vector<std::string>> shown_texts;
  /// Every progress event as text: "create 1", "show", "bar 1000 5",
  /// "text 131 Status: 5% done", "repaint", "close".
  std::vector<std::string> progress_events;

  Answer message_box(std::string_view text, Buttons buttons,
                     Icon icon) override;
  std::optional<ChosenFile> open_file_dialog(std::string_view title,
                                             std::string_view filter) override;
  std::unique_ptr<ProgressDialog> create_progress_dialog(
      bool two_bars) override;
  std::optional<std::string> ask_text(std::string_view title, std::string_view,
                                      std::string_view) override {
    dialog_titles.emplace_back(title);
    if (text_answers.empty()) return std::nullopt;
    std::optional<std::string> answer = std::move(text_answers.front());
    text_answers.pop_front();
    return answer;
  }
  void set_window_title(std::string_view title) override {
    titles.emplace_back(title);
  }
  void show_text(const std::vector<std::string>& lines) override {
    shown_texts.push_back(lines);
  }

  /// The texts of the boxes shown so far.
  [[nodiscard]] std::vector<std::string> box_texts() const;
};

}  // namespace qlor::testing
