// qlor-gui: the desktop window.
#include <QApplication>
#include <clocale>

#include "gui/main_frame.h"
#include "gui/qt_platform.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Qt switches the process to the user's locale; the result files are
  // written with a decimal point whatever it is.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName(QStringLiteral("QLOR"));
  const qlor::SystemClock clock;
  qlor::gui::QtPlatform platform;
  qlor::gui::CMainFrame frame(platform, clock);
  frame.show();
  return QApplication::exec();
}
