// The main window and its menus.
#include "gui/main_frame.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QStatusBar>

#include "analysis/open_dialogs.h"
#include "gui/plot_window.h"
#include "gui/qlor_view.h"
#include "gui/qt_platform.h"

namespace qlor::gui {

namespace {

// The program icon: a plot with points of two species and the circle
// within which the K function counts neighbours.
QPixmap program_pixmap() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::darkGray, 1));
  painter.setBrush(Qt::white);
  painter.drawRect(QRectF(1.5, 1.5, 29, 29));
  painter.setPen(Qt::NoPen);
  const QPointF first[] = {{8, 9}, {22, 7}, {14, 16}, {25, 21}, {9, 25}};
  const QPointF second[] = {{17, 10}, {12, 20}, {20, 25}, {6, 15}};
  painter.setBrush(Qt::black);
  for (const QPointF& p : first) painter.drawEllipse(p, 1.6, 1.6);
  painter.setBrush(QColor(200, 30, 30));
  for (const QPointF& p : second) painter.drawEllipse(p, 1.6, 1.6);
  painter.setPen(QPen(QColor(30, 80, 200), 1.2));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(QPointF(14, 16), 7, 7);
  return pixmap;
}

QLabel* indicator(const char* text, QWidget* parent) {
  auto* label = new QLabel(QString::fromLatin1(text), parent);
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setAlignment(Qt::AlignCenter);
  label->setMinimumWidth(
      label->fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 8);
  // Qt cannot read the lock keys' state portably: the panes stand greyed,
  // as they look with the keys off.
  label->setEnabled(false);
  return label;
}

}  // namespace

CMainFrame::CMainFrame(QtPlatform& platform, const Clock& clock,
                       const std::string& config_path, QWidget* parent)
    : QMainWindow(parent), platform_(platform) {
  setWindowTitle(QString::fromLatin1(kRestTitle));
  setWindowIcon(QIcon(program_pixmap()));
  resize(kMainWindowWidth, kMainWindowHeight);
  move(0, 0);
  platform_.set_main_window(this);
  connect(&platform_, &QtPlatform::titleChanged, this,
          &QWidget::setWindowTitle);
  for (const Menu& menu : menu_bar()) {
    build_menu(*menuBar()->addMenu(to_qstring(menu.title)), menu.items);
  }
  build_status_bar();
  view_ = new CQLOR_View(platform_, clock, config_path, this);
  setCentralWidget(view_);
  update_check_marks();
}

CMainFrame::~CMainFrame() { platform_.set_main_window(nullptr); }

void CMainFrame::on_command(int command) {
  switch (command) {
    case kCmdAppExit:
      close();
      break;
    case kCmdAppAbout:
      show_about_box();
      break;
    case kCmdViewStatusBar:
      statusBar()->setVisible(statusBar()->isHidden());
      break;
    case kCmdPlotResult:
      plot_result(platform_, this, view_->controller().input_path());
      break;
    default:
      view_->run_command(command);
      break;
  }
  update_check_marks();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // A run holds the window until its last message.
  if (view_->is_running()) {
    event->ignore();
  } else {
    QMainWindow::closeEvent(event);
  }
}

void CMainFrame::build_menu(QMenu& menu, const std::vector<MenuItem>& items) {
  for (const MenuItem& item : items) {
    if (item.kind == MenuItem::Kind::kSeparator) {
      menu.addSeparator();
      continue;
    }
    if (item.kind == MenuItem::Kind::kSubmenu) {
      build_menu(*menu.addMenu(to_qstring(item.text)), item.items);
      continue;
    }
    auto* action = new QAction(to_qstring(item.text), this);
    action->setCheckable(item.checkable);
    if (!item.shortcut.empty()) {
      action->setShortcut(QKeySequence(to_qstring(item.shortcut)));
    }
    action->setStatusTip(to_qstring(prompt_help(command_prompt(item.command))));
    const int command = item.command;
    connect(action, &QAction::triggered, this,
            [this, command] { on_command(command); });
    menu.addAction(action);
    actions_.insert(command, action);
  }
}

void CMainFrame::build_status_bar() {
  QStatusBar* bar = statusBar();
  bar->addWidget(new QLabel(QString::fromLatin1(kStatusIdle), bar), 1);
  for (const char* text : kStatusIndicators) {
    indicators_.append(indicator(text, bar));
    bar->addPermanentWidget(indicators_.back());
  }
  connect(bar, &QStatusBar::messageChanged, this,
          &CMainFrame::fit_status_message);
}

void CMainFrame::fit_status_message(const QString& message) {
  // A prompt too long for the room beside the CAP, NUM and SCRL panes takes
  // their room while it shows; one too long for the whole bar is elided
  // and shown in full as the bar's tooltip.
  QStatusBar* bar = statusBar();
  const QFontMetrics metrics(bar->font());
  // Until the window shows, the bar has no width of its own.
  const int width = bar->isVisible() ? metrics.horizontalAdvance(message) : 0;
  int panes = 0;
  for (const QLabel* pane : indicators_) {
    panes += pane->sizeHint().width() + 4;
  }
  const int whole = bar->width() - 32;  // margins and the size grip
  const bool long_prompt = !message.isEmpty() && width > whole - panes;
  for (QLabel* pane : indicators_) pane->setVisible(!long_prompt);
  if (width > whole) {
    bar->setToolTip(message);
    bar->showMessage(metrics.elidedText(message, Qt::ElideRight, whole));
  } else if (message !=
             metrics.elidedText(bar->toolTip(), Qt::ElideRight, whole)) {
    bar->setToolTip(QString());
  }
}

void CMainFrame::update_check_marks() {
  for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
    if (!it.value()->isCheckable()) continue;
    const bool checked = it.key() == kCmdViewStatusBar
                             ? !statusBar()->isHidden()
                             : view_->controller().is_checked(it.key());
    it.value()->setChecked(checked);
  }
}

void CMainFrame::show_about_box() { create_about_box(this)->exec(); }

std::unique_ptr<QMessageBox> create_about_box(QWidget* parent) {
  auto box = std::make_unique<QMessageBox>(parent);
  box->setWindowTitle(QString::fromLatin1(kAboutCaption));
  box->setIconPixmap(program_pixmap());
  box->setTextFormat(Qt::PlainText);
  box->setText(QString::fromLatin1(kAboutVersion) + u'\n' +
               QString::fromLatin1(kAboutText));
  box->setStandardButtons(QMessageBox::Ok);
  return box;
}

}  // namespace qlor::gui
