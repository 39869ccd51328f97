// The modeless progress dialogs of long runs: one bar for a single file,
// two bars (current file, all files) for a batch.
#pragma once

#include <QDialog>
#include <QMap>
#include <QString>
#include <string_view>

#include "platform/platform.h"

class QLabel;
class QProgressBar;

namespace qlor::gui {

class ProgressWindow final : public QDialog, public ProgressDialog {
  Q_OBJECT

 public:
  /// Builds the dialog hidden, without a parent, centred on the screen.
  explicit ProgressWindow(bool two_bars);

  void show() override;
  void set_bar(int control, int percent) override;
  void set_text(int control, std::string_view text) override;
  /// Paints the dialog now and lets the window system's expose and paint
  /// events through; mouse and key input waits until the run ends.
  void repaint() override;

  /// The value of a bar and the text of a status line, by control number;
  /// -1 and an empty text for a control the dialog lacks.
  [[nodiscard]] int bar_value(int control) const;
  [[nodiscard]] QString text(int control) const;

 signals:
  /// Emitted after each repaint.
  void repainted();

 public slots:
  /// The Cancel button and Escape do nothing: a run cannot be stopped.
  void reject() override {}

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QMap<int, QProgressBar*> bars_;
  QMap<int, QLabel*> texts_;
};

}  // namespace qlor::gui
