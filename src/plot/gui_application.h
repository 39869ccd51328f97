// A Qt application object for painting without a window system.
#pragma once

namespace qlor {

/// Creates a QGuiApplication when the process has no Qt application yet,
/// on the offscreen platform unless QT_QPA_PLATFORM names another, so that
/// figures with text can be painted and saved without a display. The object
/// lives until the process ends. Qt's warnings are silenced from then on;
/// its errors still reach stderr.
void ensure_gui_application();

}  // namespace qlor
