// The main window: menu bar and accelerators built from the shared menu
// table, the status bar, the text view, and the commands the window handles
// itself (Exit, About, Status Bar).
#pragma once

#include <QList>
#include <QMainWindow>
#include <QMap>
#include <memory>
#include <string>

#include "app/config_file.h"
#include "app/menu_definition.h"
#include "model/clock.h"

class QAction;
class QLabel;
class QMenu;
class QMessageBox;

namespace qlor::gui {

class CQLOR_View;
class QtPlatform;

class CMainFrame final : public QMainWindow {
  Q_OBJECT

 public:
  /// Builds the window 600 x 400 at (0, 0), hidden; the view reads the
  /// configuration file at `config_path`.
  CMainFrame(QtPlatform& platform, const Clock& clock,
             const std::string& config_path = kConfigFileName,
             QWidget* parent = nullptr);
  ~CMainFrame() override;

  [[nodiscard]] CQLOR_View& view() { return *view_; }

  /// The menu item of a command; nullptr for an unknown command.
  [[nodiscard]] QAction* action(int command) const {
    return actions_.value(command);
  }

 public slots:
  /// Handles a menu command: the window's own ones here, the rest in the
  /// view; then brings the check marks up to date.
  void on_command(int command);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void build_menu(QMenu& menu, const std::vector<MenuItem>& items);
  void build_status_bar();
  void fit_status_message(const QString& message);
  void update_check_marks();
  void show_about_box();

  QtPlatform& platform_;
  CQLOR_View* view_ = nullptr;
  QMap<int, QAction*> actions_;
  QList<QLabel*> indicators_;
};

/// The About box, not yet shown: caption "About QLOR", the program icon,
/// the version and one further line, an OK button.
[[nodiscard]] std::unique_ptr<QMessageBox> create_about_box(QWidget* parent);

}  // namespace qlor::gui
