// The progress dialogs, laid out in dialog units like their templates.
#include "gui/progress_dialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <span>

#include "gui/qt_platform.h"

namespace qlor::gui {

namespace {

enum class Kind { kBar, kText, kCancel };

struct Control {
  Kind kind;
  int id;
  int x, y, width, height;  // dialog units
};

constexpr int kCancelId = 2;

constexpr Control kOneBar[] = {
    {Kind::kBar, kBarAll, 15, 10, 275, 15},
    {Kind::kText, kTextRun, 14, 28, 275, 8},
    {Kind::kCancel, kCancelId, 129, 40, 50, 15},
};

constexpr Control kTwoBars[] = {
    {Kind::kBar, kBarFile, 15, 10, 275, 15},
    {Kind::kText, kTextFile, 14, 28, 275, 8},
    {Kind::kBar, kBarAll, 15, 45, 275, 15},
    {Kind::kText, kTextAll, 14, 63, 150, 8},
    {Kind::kCancel, kCancelId, 129, 80, 50, 15},
};

// Dialog units, derived from the dialog's font: a quarter of the mean width of
// the 52 letters across, an eighth of the font's height down.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    base_x_ = (letters / 26 + 1) / 2;
    base_y_ = metrics.height();
  }
  [[nodiscard]] int x(int units) const { return units * base_x_ / 4; }
  [[nodiscard]] int y(int units) const { return units * base_y_ / 8; }
  [[nodiscard]] QRect rect(const Control& c) const {
    return {x(c.x), y(c.y), x(c.width), y(c.height)};
  }

 private:
  int base_x_ = 6;
  int base_y_ = 13;
};

}  // namespace

ProgressWindow::ProgressWindow(bool two_bars)
    : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("QLOR - Progress of analysis"));
  QFont small = font();
  small.setPointSize(8);
  setFont(small);
  const DialogUnits units(small);
  setFixedSize(units.x(308), units.y(two_bars ? 100 : 60));
  const std::span<const Control> layout =
      two_bars ? std::span<const Control>(kTwoBars) : std::span(kOneBar);
  for (const Control& c : layout) {
    if (c.kind == Kind::kBar) {
      auto* bar = new QProgressBar(this);
      bar->setRange(0, 100);
      bar->setValue(0);
      bar->setTextVisible(false);
      bar->setGeometry(units.rect(c));
      bars_.insert(c.id, bar);
    } else if (c.kind == Kind::kText) {
      auto* label = new QLabel(this);
      label->setTextFormat(Qt::PlainText);
      label->setGeometry(units.rect(c));
      texts_.insert(c.id, label);
    } else {
      auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
      cancel->setDefault(true);
      cancel->setGeometry(units.rect(c));
    }
  }
  // Centred on the screen, as the dialog has no parent.
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame(QPoint(), size());
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

void ProgressWindow::show() { QDialog::show(); }

void ProgressWindow::set_bar(int control, int percent) {
  // A position beyond the range pins the bar to its end; Qt's bar would
  // ignore it.
  if (QProgressBar* bar = bars_.value(control)) {
    bar->setValue(std::clamp(percent, 0, 100));
  }
}

void ProgressWindow::set_text(int control, std::string_view text) {
  if (QLabel* label = texts_.value(control)) label->setText(to_qstring(text));
}

void ProgressWindow::repaint() {
  QWidget::repaint();
  // The run holds the event loop; the window system's expose events must
  // still reach the dialog for it to appear and be drawn.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  emit repainted();
}

int ProgressWindow::bar_value(int control) const {
  const QProgressBar* bar = bars_.value(control);
  return bar != nullptr ? bar->value() : -1;
}

QString ProgressWindow::text(int control) const {
  const QLabel* label = texts_.value(control);
  return label != nullptr ? label->text() : QString();
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
  // Closed only by the run that made it.
  event->ignore();
}

}  // namespace qlor::gui
