// The plot window: a canvas painted by the figure painter, and two buttons
// that save what it shows.
#include "gui/plot_window.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "gui/qt_platform.h"
#include "plot/figure_painter.h"
#include "plot/global_figure.h"

namespace qlor::gui {

namespace {

// Paints the window's figure, whichever it shows.
class FigureCanvas final : public QWidget {
 public:
  FigureCanvas(const ResultFigure& figure, QWidget* parent)
      : QWidget(parent), figure_(figure) {
    setMinimumSize(400, 300);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    paint_figure(painter, figure_, QRectF(rect()));
  }

 private:
  const ResultFigure& figure_;
};

}  // namespace

PlotWindow::PlotWindow(ResultFigure figure, QWidget* parent,
                       QtPlatform* platform)
    : QWidget(parent, Qt::Window),
      pointwise_(std::move(figure)),
      figure_(pointwise_),
      platform_(platform) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(to_qstring(std::string("QLOR - ") + figure_.title));
  canvas_ = new FigureCanvas(figure_, this);
  global_box_ = new QCheckBox(tr("&Global envelope"), this);
  global_box_->setToolTip(
      tr("The 95 % global envelope (extreme rank length) from the run's "
         "temporary file; observed values outside it in red"));
  connect(global_box_, &QCheckBox::toggled, this,
          [this](bool on) { show_global(on); });
  auto* save_png = new QPushButton(tr("Save &PNG..."), this);
  auto* save_svg = new QPushButton(tr("Save &SVG..."), this);
  connect(save_png, &QPushButton::clicked, this,
          [this] { save_as(QStringLiteral("png")); });
  connect(save_svg, &QPushButton::clicked, this,
          [this] { save_as(QStringLiteral("svg")); });
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(global_box_);
  buttons->addStretch(1);
  buttons->addWidget(save_png);
  buttons->addWidget(save_svg);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(canvas_, 1);
  layout->addLayout(buttons);
  // The figure's standard size with the buttons, within the screen.
  const QScreen* where = parent != nullptr ? parent->screen() : screen();
  const QSize wanted = default_figure_size(figure_) + QSize(20, 60);
  resize(where != nullptr ? fit_to_screen(wanted, where->availableGeometry())
                          : wanted);
}

QSize fit_to_screen(QSize wanted, const QRect& available) {
  // Room for the frame and title bar that the window manager adds.
  const QSize room = (available.size() - QSize(16, 48)).expandedTo({1, 1});
  return wanted.boundedTo(room);
}

void PlotWindow::show_global(bool on) {
  ResultFigure shown = pointwise_;
  if (on) {
    if (const std::string s = add_global_envelopes(shown, 0.05); !s.empty()) {
      if (platform_) {
        platform_->message_box(s, Buttons::kOk, Icon::kStop);
      } else {
        QMessageBox::critical(this, QStringLiteral("QLOR"), to_qstring(s));
      }
      const QSignalBlocker quiet(global_box_);
      global_box_->setChecked(false);
      return;
    }
  }
  figure_ = std::move(shown);
  setWindowTitle(to_qstring(std::string("QLOR - ") + figure_.title));
  canvas_->update();
}

std::string PlotWindow::save(const std::string& path) const {
  return save_figure(figure_, path, default_figure_size(figure_));
}

void PlotWindow::save_as(const QString& kind) {
  QString suggested = to_qstring(figure_.default_output);
  suggested.chop(3);
  suggested += kind;
  const QString filter = kind == QLatin1String("png") ? tr("PNG image (*.png)")
                                                      : tr("SVG image (*.svg)");
  const QString path =
      QFileDialog::getSaveFileName(this, tr("Save figure"), suggested, filter);
  if (path.isEmpty()) return;
  if (const std::string s = save(path.toStdString()); !s.empty()) {
    QMessageBox::critical(this, QStringLiteral("QLOR"), to_qstring(s));
  }
}

PlotWindow* plot_result(QtPlatform& platform, QWidget* parent,
                        const std::string& open_file) {
  ResultFigure figure;
  // The open sample file's result, when it has one; a dialog otherwise.
  if (open_file.empty() || !load_result_figure(open_file, figure).empty()) {
    const auto chosen =
        platform.open_file_dialog(kPlotResultTitle, kPlotResultFilter);
    if (!chosen) return nullptr;
    if (const std::string s = load_result_figure(chosen->path, figure);
        !s.empty()) {
      platform.message_box(s, Buttons::kOk, Icon::kStop);
      return nullptr;
    }
  }
  auto* window = new PlotWindow(std::move(figure), parent, &platform);
  window->show();
  return window;
}

}  // namespace qlor::gui
