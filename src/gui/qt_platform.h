// The platform of the desktop window: Qt message boxes, file dialogs and
// progress dialogs, and the window title and text view of the main window.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/platform.h"

class QFileDialog;
class QMessageBox;
class QWidget;

namespace qlor::gui {

class ProgressWindow;

/// A file-dialog filter of "description|pattern|...||" pairs in Qt's
/// syntax: "Data files (*.DAT *.dat);;...". Each pattern is added inside the
/// description's parentheses unless already there, since Qt matches names
/// case-sensitively on Linux; "*.*" (meant as every file)
/// becomes "*".
[[nodiscard]] QString qt_file_filter(std::string_view filter);

/// A text whose lines hold tabs as a rich-text table: each run of tabs ends
/// a cell, so that the texts after the tabs line up in columns whatever the
/// widths before them; a line with fewer cells spans its last one to the
/// end. Blanks are kept as they are.
[[nodiscard]] QString tab_table(const QString& text);

/// The modal box for a message, not yet shown: caption "QLOR", OK or
/// Yes/No (Yes the default), the critical icon for the stop icon. The text
/// is plain, or a tab table (above) when it holds tabs.
[[nodiscard]] std::unique_ptr<QMessageBox> create_message_box(
    std::string_view text, Buttons buttons, Icon icon, QWidget* parent);

/// The open dialog for a title and a filter in Qt's syntax, not yet shown:
/// one existing file, the detail view, sized to show the name, size, type
/// and date of each file in full (within the screen).
[[nodiscard]] std::unique_ptr<QFileDialog> create_open_dialog(
    std::string_view title, const QString& qt_filter, QWidget* parent);

/// Converts the core's UTF-8 text.
[[nodiscard]] QString to_qstring(std::string_view text);

class QtPlatform final : public QObject, public Platform {
  Q_OBJECT

 public:
  /// Answers a message box in place of the user (tests).
  using MessageHandler =
      std::function<Answer(std::string_view text, Buttons, Icon)>;
  /// Chooses a file in place of the dialog (tests); gets the title and the
  /// filter in Qt's syntax.
  using FileChooser = std::function<std::optional<ChosenFile>(
      std::string_view title, const QString& filter)>;
  /// Answers a text question in place of the dialog (tests).
  using TextAnswerer = std::function<std::optional<std::string>(
      std::string_view title, std::string_view initial)>;

  /// Message boxes and dialogs are centred over `window` once it is shown.
  void set_main_window(QWidget* window) { window_ = window; }
  void set_message_handler(MessageHandler handler) {
    message_handler_ = std::move(handler);
  }
  void set_file_chooser(FileChooser chooser) {
    file_chooser_ = std::move(chooser);
  }
  void set_text_answerer(TextAnswerer answerer) {
    text_answerer_ = std::move(answerer);
  }

  Answer message_box(std::string_view text, Buttons buttons,
                     Icon icon) override;
  std::optional<ChosenFile> open_file_dialog(std::string_view title,
                                             std::string_view filter) override;
  std::unique_ptr<ProgressDialog> create_progress_dialog(
      bool two_bars) override;
  std::optional<std::string> ask_text(std::string_view title,
                                      std::string_view prompt,
                                      std::string_view initial) override;
  void set_window_title(std::string_view title) override;
  void show_text(const std::vector<std::string>& lines) override;

 signals:
  void titleChanged(const QString& title);
  /// The view's lines changed; the text view repaints at once.
  void textShown();
  void progressCreated(qlor::gui::ProgressWindow* dialog);

 private:
  [[nodiscard]] QWidget* dialog_parent() const;

  QWidget* window_ = nullptr;
  MessageHandler message_handler_;
  FileChooser file_chooser_;
  TextAnswerer text_answerer_;
};

}  // namespace qlor::gui
