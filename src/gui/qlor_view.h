// The text view of the main window: draws the lines of the last opened file
// and forwards scrolling and commands to the view controller.
#pragma once

#include <QAbstractScrollArea>
#include <string>

#include "app/config_file.h"
#include "app/view_controller.h"

namespace qlor::gui {

class QtPlatform;

class CQLOR_View final : public QAbstractScrollArea {
  Q_OBJECT

 public:
  /// Builds the controller, which reads the configuration file.
  CQLOR_View(QtPlatform& platform, const Clock& clock,
             const std::string& config_path = kConfigFileName,
             QWidget* parent = nullptr);

  [[nodiscard]] qlor::ViewController& controller() { return controller_; }
  [[nodiscard]] const qlor::ViewController& controller() const {
    return controller_;
  }

  /// Runs a command of the controller to its end. A command that arrives
  /// while another runs is dropped (returns false).
  bool run_command(int command);

  /// True while a command or the automatic run executes.
  [[nodiscard]] bool is_running() const { return running_; }

  /// The pixel distance between two drawn lines.
  [[nodiscard]] int line_height() const;

 public slots:
  /// Shows the controller's lines and scroll position and repaints at once.
  void refresh();
  /// The automatic run that the configuration file requests, once.
  void run_autorun();

 signals:
  /// Emitted when the automatic run has finished (or there was none).
  void autorunDone();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void scrollContentsBy(int, int) override {}

 private:
  void on_scroll_action(int action);
  void sync_scroll_bars();

  qlor::ViewController controller_;
  bool painted_ = false;
  bool running_ = false;
};

}  // namespace qlor::gui
