// Console realisation of message boxes, file dialogs and progress.
#include "cli/console_platform.h"

#include <string>

#include "results/file_names.h"

namespace qlor {

namespace {

constexpr const char* kNoPromptNote =
    "qlor: no terminal to answer on under the MPI launcher: run again with "
    "--yes to answer Yes (or --no for No)";
constexpr const char* kNoFilePromptNote =
    "qlor: no terminal to answer on under the MPI launcher: name the file on "
    "the command line";

class ConsoleProgress final : public ProgressDialog {
 public:
  ConsoleProgress(std::ostream& err, bool enabled)
      : err_(err), enabled_(enabled) {}
  ~ConsoleProgress() override {
    if (shown_) err_ << '\n' << std::flush;
  }
  // A silent dialog is never shown: the run goes on as with it.
  void show() override { shown_ = enabled_; }
  void set_bar(int, int) override {}
  void set_text(int control, std::string_view text) override {
    // The two-bar dialog shows both status lines on one console line.
    if (control == kTextFile) {
      file_text_ = text;
    } else {
      main_text_ = text;
    }
  }
  void repaint() override {
    if (!shown_) return;
    std::string line = main_text_;
    if (!file_text_.empty()) line = file_text_ + "   " + line;
    const std::size_t width = line.size();
    if (width < last_width_) line.append(last_width_ - width, ' ');
    last_width_ = width;
    err_ << '\r' << line << std::flush;
  }

 private:
  std::ostream& err_;
  bool enabled_;
  bool shown_ = false;
  std::string main_text_;
  std::string file_text_;
  std::size_t last_width_ = 0;
};

}  // namespace

Answer ConsolePlatform::message_box(std::string_view text, Buttons buttons,
                                    Icon icon) {
  if (buttons == Buttons::kOk) {
    (icon == Icon::kStop ? err_ : out_) << text << '\n' << std::flush;
    return Answer::kOk;
  }
  out_ << text << '\n';
  if (answer_) {
    out_ << "[y/N] " << (*answer_ ? "y" : "n") << '\n' << std::flush;
    return *answer_ ? Answer::kYes : Answer::kNo;
  }
  if (refuse_prompts_) {
    out_ << std::flush;
    err_ << kNoPromptNote << '\n' << std::flush;
    return Answer::kNo;
  }
  out_ << "[y/N] " << std::flush;
  std::string line;
  if (!std::getline(in_, line)) {
    out_ << '\n';
    return Answer::kNo;
  }
  const auto first = line.find_first_not_of(" \t\r");
  const bool yes =
      first != std::string::npos && (line[first] == 'y' || line[first] == 'Y');
  return yes ? Answer::kYes : Answer::kNo;
}

std::optional<ChosenFile> ConsolePlatform::open_file_dialog(
    std::string_view title, std::string_view) {
  if (!preset_files_.empty()) {
    std::string path = std::move(preset_files_.front());
    preset_files_.pop_front();
    return ChosenFile{path, path_title(path)};
  }
  if (refuse_prompts_) {
    err_ << title << '\n' << kNoFilePromptNote << '\n' << std::flush;
    return std::nullopt;
  }
  err_ << title << "\npath: " << std::flush;
  std::string line;
  if (!std::getline(in_, line)) return std::nullopt;
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
    line.pop_back();
  }
  if (line.empty()) return std::nullopt;
  return ChosenFile{line, path_title(line)};
}

std::unique_ptr<ProgressDialog> ConsolePlatform::create_progress_dialog(bool) {
  return std::make_unique<ConsoleProgress>(err_, show_progress_);
}

}  // namespace qlor
