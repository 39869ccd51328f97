// The text view: drawing, scrolling and the automatic run at the first
// repaint.
#include "gui/qlor_view.h"

#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTimer>

#include "gui/qt_platform.h"

namespace qlor::gui {

namespace {

// Files are shown as UTF-8 when they are, else byte for byte as Latin-1
// (files written on other systems are often in a single-byte code page).
QString to_display_text(std::string_view line) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text =
      utf8.decode(QByteArrayView(line.data(), qsizetype(line.size())));
  if (!utf8.hasError()) return text;
  return QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
}

// A roman font whose character cell is 16 pixels high: the largest pixel
// size whose ascent and descent fit.
QFont view_font() {
  QFont font(QStringLiteral("serif"));
  font.setStyleHint(QFont::Serif);
  font.setWeight(QFont::Normal);
  int pixels = 16;
  font.setPixelSize(pixels);
  while (pixels > 8 && QFontMetrics(font).height() > 16) {
    font.setPixelSize(--pixels);
  }
  return font;
}

ScrollAction scroll_action(int slider_action) {
  switch (slider_action) {
    case QAbstractSlider::SliderSingleStepSub:
      return ScrollAction::kLineUp;
    case QAbstractSlider::SliderSingleStepAdd:
      return ScrollAction::kLineDown;
    case QAbstractSlider::SliderPageStepSub:
      return ScrollAction::kPageUp;
    case QAbstractSlider::SliderPageStepAdd:
      return ScrollAction::kPageDown;
    case QAbstractSlider::SliderMove:
      return ScrollAction::kThumbTrack;
    default:
      return ScrollAction::kOther;
  }
}

// Marks the view busy for the length of a command.
class RunningFlag {
 public:
  explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
  ~RunningFlag() { flag_ = false; }
  RunningFlag(const RunningFlag&) = delete;
  RunningFlag& operator=(const RunningFlag&) = delete;

 private:
  bool& flag_;
};

}  // namespace

CQLOR_View::CQLOR_View(QtPlatform& platform, const Clock& clock,
                       const std::string& config_path, QWidget* parent)
    : QAbstractScrollArea(parent), controller_(platform, clock, config_path) {
  setFont(view_font());
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  verticalScrollBar()->setSingleStep(1);
  connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
          &CQLOR_View::on_scroll_action);
  connect(&platform, &QtPlatform::textShown, this, &CQLOR_View::refresh);
}

bool CQLOR_View::run_command(int command) {
  if (running_) return false;
  bool done = false;
  {
    const RunningFlag flag(running_);
    done = controller_.on_command(command);
  }
  refresh();
  return done;
}

int CQLOR_View::line_height() const {
  return std::max(1, QFontMetrics(font()).lineSpacing());
}

void CQLOR_View::refresh() {
  sync_scroll_bars();
  viewport()->repaint();
}

void CQLOR_View::run_autorun() {
  if (running_) {
    // A command holds the view; try again once it is through.
    QTimer::singleShot(100, this, &CQLOR_View::run_autorun);
    return;
  }
  {
    const RunningFlag flag(running_);
    controller_.run_pending_autorun();
  }
  refresh();
  emit autorunDone();
}

void CQLOR_View::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const int height = line_height();
  const int ascent = QFontMetrics(font()).ascent();
  int y = 0;
  for (std::string_view row :
       controller_.layout(viewport()->height(), height)) {
    painter.drawText(1, y + ascent, to_display_text(row));
    y += height;
  }
  // The first repaint starts the configuration file's automatic run, once
  // the window is on the screen and this paint is through.
  if (!painted_) {
    painted_ = true;
    if (controller_.has_pending_autorun()) {
      QTimer::singleShot(0, this, &CQLOR_View::run_autorun);
    }
  }
}

void CQLOR_View::on_scroll_action(int action) {
  QScrollBar* bar = verticalScrollBar();
  const bool moved =
      controller_.on_vscroll(scroll_action(action), bar->sliderPosition());
  // Replaces the position the scroll bar chose with the view's own.
  bar->setSliderPosition(controller_.first_line());
  if (moved) viewport()->repaint();
}

void CQLOR_View::sync_scroll_bars() {
  const auto policy = controller_.scroll_bars_shown() ? Qt::ScrollBarAlwaysOn
                                                      : Qt::ScrollBarAlwaysOff;
  setVerticalScrollBarPolicy(policy);
  setHorizontalScrollBarPolicy(policy);
  horizontalScrollBar()->setRange(0, 0);
  QScrollBar* bar = verticalScrollBar();
  bar->setRange(0, controller_.line_count());
  bar->setValue(controller_.first_line());
}

}  // namespace qlor::gui
