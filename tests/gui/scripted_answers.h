// Answers the window's message boxes and file dialogs from queues instead
// of showing them, and records what was asked.
#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "gui/qt_platform.h"
#include "results/file_names.h"

namespace qlor::gui::testing {

struct AskedBox {
  std::string text;
  Buttons buttons;
  Icon icon;
};

struct ScriptedAnswers {
  /// Yes/No answers in order; an empty queue answers Yes.
  std::deque<Answer> answers;
  /// Paths the file dialogs choose in order; an empty queue cancels.
  std::deque<std::string> files;
  std::vector<AskedBox> boxes;
  /// Title and Qt filter of every file dialog.
  std::vector<std::pair<std::string, QString>> dialogs;

  explicit ScriptedAnswers(QtPlatform& platform) {
    platform.set_message_handler(
        [this](std::string_view text, Buttons buttons, Icon icon) {
          boxes.push_back({std::string(text), buttons, icon});
          if (buttons == Buttons::kOk) return Answer::kOk;
          const Answer a = answers.empty() ? Answer::kYes : answers.front();
          if (!answers.empty()) answers.pop_front();
          return a;
        });
    platform.set_file_chooser(
        [this](std::string_view title,
               const QString& filter) -> std::optional<ChosenFile> {
          dialogs.emplace_back(std::string(title), filter);
          if (files.empty()) return std::nullopt;
          const std::string path = files.front();
          files.pop_front();
          return ChosenFile{path, path_title(path)};
        });
  }

  [[nodiscard]] std::vector<std::string> box_texts() const {
    std::vector<std::string> texts;
    for (const auto& b : boxes) texts.push_back(b.text);
    return texts;
  }
};

}  // namespace qlor::gui::testing
