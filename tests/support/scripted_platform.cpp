// The scripted platform double.
#include "scripted_platform.h"

#include "results/file_names.h"

namespace qlor::testing {

namespace {

class RecordingProgress final : public ProgressDialog {
 public:
  explicit RecordingProgress(std::vector<std::string>& events)
      : events_(events) {}
  ~RecordingProgress() override { events_.emplace_back("close"); }
  void show() override { events_.emplace_back("show"); }
  void set_bar(int control, int percent) override {
    events_.push_back("bar " + std::to_string(control) + " " +
                      std::to_string(percent));
  }
  void set_text(int control, std::string_view text) override {
    events_.push_back("text " + std::to_string(control) + " " +
                      std::string(text));
  }
  void repaint() override { events_.emplace_back("repaint"); }

 private:
  std::vector<std::string>& events_;
};

}  // namespace

Answer ScriptedPlatform::message_box(std::string_view text, Buttons buttons,
                                     Icon icon) {
  boxes.push_back({std::string(text), buttons, icon});
  if (buttons == Buttons::kOk) return Answer::kOk;
  if (answers.empty()) return Answer::kYes;
  const Answer a = answers.front();
  answers.pop_front();
  return a;
}

std::optional<ChosenFile> ScriptedPlatform::open_file_dialog(
    std::string_view title, std::string_view) {
  dialog_titles.emplace_back(title);
  if (files.empty()) return std::nullopt;
  auto next = files.front();
  files.pop_front();
  if (!next) return std::nullopt;
  return ChosenFile{*next, path_title(*next)};
}

std::unique_ptr<ProgressDialog> ScriptedPlatform::create_progress_dialog(
    bool two_bars) {
  progress_events.push_back(two_bars ? "create 2" : "create 1");
  return std::make_unique<RecordingProgress>(progress_events);
}

std::vector<std::string> ScriptedPlatform::box_texts() const {
  std::vector<std::string> texts;
  for (const auto& b : boxes) texts.push_back(b.text);
  return texts;
}

}  // namespace qlor::testing
