// The process-wide Qt application of the console program's figures.
#include "plot/gui_application.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdio>

namespace qlor {

namespace {

// The console program shows Qt's own notes (such as a missing
// XDG_RUNTIME_DIR on a headless machine) only when they are errors.
void quiet_message_handler(QtMsgType type, const QMessageLogContext&,
                           const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::fprintf(stderr, "qlor: %s\n", qPrintable(message));
  }
}

}  // namespace

void ensure_gui_application() {
  if (QCoreApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  qInstallMessageHandler(quiet_message_handler);
  static int argc = 1;
  static char name[] = "qlor";
  static char* argv[] = {name, nullptr};
  // Never destroyed: Qt objects must not outlive the application object,
  // and static destruction would not keep that order.
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

}  // namespace qlor

#if defined(__SANITIZE_ADDRESS__)
// The application object above is never destroyed, so fontconfig keeps the
// caches that Qt's font database opened until the process ends; the leak
// checker of sanitizer builds would report them as leaks.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}
// Nor does the checker list the suppressions it used on standard error,
// which belongs to the program's own messages.
extern "C" const char* __lsan_default_options() {
  return "print_suppressions=0";
}
#endif
