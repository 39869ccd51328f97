// The standard figure of a run: t across, its function (L(t) - t, g, O) up,
// the simulation envelope as a band, the observed curve over it.
#include "plot/figure_painter.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "results/file_names.h"
#include "results/whole_file.h"

namespace qlor {

namespace {

// Pixel sizes of the text and the room around a plotting area.
constexpr int kTextPixels = 13;
constexpr int kTitlePixels = 15;
constexpr double kFigureTitleHeight = 34;
constexpr double kPanelTitleHeight = 28;
constexpr double kLeftMargin = 72;
constexpr double kRightMargin = 20;
constexpr double kBottomMargin = 50;
constexpr double kTickLength = 5;

struct Range {
  double low;
  double high;
  double step;
};

// A tick step of 1, 2 or 5 times a power of ten giving about five ticks.
double nice_step(double span) {
  const double raw = span / 5;
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  const double r = raw / magnitude;
  const double factor = r < 1.5 ? 1 : r < 3 ? 2 : r < 7 ? 5 : 10;
  return factor * magnitude;
}

// The range of the values over every panel, the value under CSR included,
// widened a little and then to whole tick steps.
Range value_range(const ResultFigure& figure) {
  const double reference = std::isnan(figure.reference) ? 0 : figure.reference;
  double low = reference;
  double high = reference;
  for (const FigurePanel& panel : figure.panels) {
    const ResultSeries& s = panel.series;
    const std::vector<double> none;
    const auto& g_lower = panel.global ? panel.global->lower : none;
    const auto& g_upper = panel.global ? panel.global->upper : none;
    for (const auto* column :
         {&s.upper, &s.lower, &s.observed, &g_lower, &g_upper}) {
      for (double v : *column) {
        low = std::min(low, v);
        high = std::max(high, v);
      }
    }
  }
  if (high - low <= 0) high = low + 1;
  // A little room, so that no curve runs along the frame.
  const double room = (high - low) * 0.04;
  low -= room;
  high += room;
  const double step = nice_step(high - low);
  return {std::floor(low / step) * step, std::ceil(high / step) * step, step};
}

Range distance_range(const ResultSeries& s) {
  double low = s.t.empty() ? 0 : s.t.front();
  double high = s.t.empty() ? 1 : s.t.back();
  if (high - low <= 0) {
    low -= 0.5;
    high += 0.5;
  }
  return {low, high, nice_step(high - low)};
}

QFont text_font(int pixels, bool bold) {
  QFont font;
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QString tick_label(double v, double step) {
  if (std::fabs(v) < step * 1e-9) v = 0;  // no "-0" or "1e-17"
  return QString::number(v, 'g', 6);
}

// The tick values of a range: the multiples of its step inside it.
std::vector<double> ticks(const Range& r) {
  std::vector<double> values;
  const double first = std::ceil(r.low / r.step - 1e-9);
  for (double k = first; k * r.step <= r.high + r.step * 1e-9; ++k) {
    values.push_back(k * r.step);
  }
  return values;
}

void paint_curves(QPainter& painter, const ResultSeries& s, double reference,
                  const PanelFrame& f) {
  painter.save();
  painter.setClipRect(f.area);
  const std::size_t n = s.t.size();
  // The band: along the upper envelope, back along the lower one.
  QPainterPath band;
  if (n == 1) {
    const QPointF top = f.map(s.t[0], s.upper[0]);
    const QPointF bottom = f.map(s.t[0], s.lower[0]);
    band.addRect(QRectF(top.x() - 4, top.y(), 8, bottom.y() - top.y()));
  } else {
    band.moveTo(f.map(s.t[0], s.upper[0]));
    for (std::size_t i = 1; i < n; ++i) band.lineTo(f.map(s.t[i], s.upper[i]));
    for (std::size_t i = n; i-- > 0;) band.lineTo(f.map(s.t[i], s.lower[i]));
    band.closeSubpath();
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(kBandColour);
  painter.drawPath(band);

  painter.setBrush(Qt::NoBrush);
  if (!std::isnan(reference)) {
    QPen dashed(QColor(90, 90, 90), 1, Qt::DashLine);
    painter.setPen(dashed);
    painter.drawLine(f.map(f.t_min, reference), f.map(f.t_max, reference));
  }

  QPolygonF observed;
  for (std::size_t i = 0; i < n; ++i) observed << f.map(s.t[i], s.observed[i]);
  painter.setPen(
      QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  if (n == 1) {
    painter.drawEllipse(observed.front(), 2.5, 2.5);
  } else {
    painter.drawPolyline(observed);
  }
  painter.restore();
}

// The global band as a darker outline over the pointwise one, and the
// observed values outside it in red.
void paint_global(QPainter& painter, const FigurePanel& panel,
                  const PanelFrame& f) {
  if (!panel.global) return;
  const GlobalBand& g = *panel.global;
  const ResultSeries& s = panel.series;
  painter.save();
  painter.setClipRect(f.area);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(
      QPen(kGlobalBandColour, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  for (const auto* edge : {&g.lower, &g.upper}) {
    QPolygonF line;
    for (std::size_t i = 0; i < s.t.size(); ++i) {
      line << f.map(s.t[i], (*edge)[i]);
    }
    if (line.size() == 1) {
      painter.drawLine(line.front() - QPointF(4, 0),
                       line.front() + QPointF(4, 0));
    } else {
      painter.drawPolyline(line);
    }
  }
  painter.setPen(
      QPen(kOutsideColour, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(kOutsideColour);
  for (const OutsideRange& r : g.outside) {
    QPolygonF run;
    for (std::size_t i = r.first; i <= r.last && i < s.t.size(); ++i) {
      run << f.map(s.t[i], s.observed[i]);
      painter.drawEllipse(run.back(), 2.5, 2.5);
    }
    if (run.size() > 1) painter.drawPolyline(run);
  }
  // Points that reject only through ties: red rings on the edge.
  painter.setPen(QPen(kOutsideColour, 1.5));
  painter.setBrush(Qt::NoBrush);
  for (std::size_t i : g.touching) {
    if (i < s.t.size()) {
      painter.drawEllipse(f.map(s.t[i], s.observed[i]), 4.0, 4.0);
    }
  }
  painter.restore();
}

void paint_axes(QPainter& painter, const PanelFrame& f, const Range& t_range,
                const Range& y_range, const std::string& label) {
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(f.area);
  painter.setFont(text_font(kTextPixels, false));
  const double label_width = 80;
  for (double t : ticks(t_range)) {
    const QPointF p = f.map(t, f.y_min);
    painter.drawLine(p, p + QPointF(0, kTickLength));
    painter.drawText(QRectF(p.x() - label_width / 2, p.y() + kTickLength + 1,
                            label_width, kTextPixels + 4),
                     Qt::AlignHCenter | Qt::AlignTop,
                     tick_label(t, t_range.step));
  }
  for (double y : ticks(y_range)) {
    const QPointF p = f.map(f.t_min, y);
    painter.drawLine(p, p - QPointF(kTickLength, 0));
    painter.drawText(QRectF(p.x() - kTickLength - 3 - label_width,
                            p.y() - kTextPixels, label_width, 2 * kTextPixels),
                     Qt::AlignRight | Qt::AlignVCenter,
                     tick_label(y, y_range.step));
  }
  const QRectF& a = f.area;
  painter.drawText(QRectF(a.left(), a.bottom() + kTickLength + kTextPixels + 6,
                          a.width(), kTextPixels + 6),
                   Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("t"));
  // The value axis label, turned to read upwards.
  painter.save();
  painter.translate(a.left() - kLeftMargin + 4, a.center().y());
  painter.rotate(-90);
  painter.drawText(QRectF(-a.height() / 2, 0, a.height(), kTextPixels + 6),
                   Qt::AlignHCenter | Qt::AlignTop,
                   QString::fromStdString(label));
  painter.restore();
}

void paint_title(QPainter& painter, const QRectF& rect, const std::string& text,
                 int pixels) {
  painter.setPen(Qt::black);
  const QString title = QString::fromStdString(text);
  // A long title (a long file name, a global envelope's p-value) shrinks
  // to the width rather than running off both sides.
  for (; pixels > 8; --pixels) {
    const QFontMetricsF metrics(text_font(pixels, true));
    if (metrics.horizontalAdvance(title) <= rect.width()) break;
  }
  painter.setFont(text_font(pixels, true));
  painter.drawText(rect, Qt::AlignCenter, title);
}

// A small legend in the top right corner of the plotting area, a row for
// each element drawn: the observed line, the pointwise envelope band with
// its kind and, with a global envelope, its band and the points outside it.
void paint_legend(QPainter& painter, const ResultFigure& figure,
                  const PanelFrame& frame) {
  const QRectF& area = frame.area;
  enum class Sample { kObserved, kBand, kGlobal, kOutside };
  struct Row {
    Sample sample;
    QString text;
  };
  std::string envelope = envelope_label(figure.envelope, figure.n_simulations);
  if (envelope.empty()) envelope = "envelope";
  std::vector<Row> rows{
      {Sample::kObserved, QStringLiteral("observed")},
      {Sample::kBand, QString::fromStdString("pointwise " + envelope)}};
  const GlobalBand* global = nullptr;
  bool outside = false;
  for (const FigurePanel& panel : figure.panels) {
    if (!panel.global) continue;
    global = &*panel.global;
    outside = outside || !panel.global->outside.empty() ||
              !panel.global->touching.empty();
  }
  if (global) {
    rows.push_back(
        {Sample::kGlobal,
         QStringLiteral("global %1 % envelope")
             .arg(QString::number(100 * (1 - global->alpha), 'g', 4))});
    if (outside) {
      rows.push_back(
          {Sample::kOutside, QStringLiteral("outside the global envelope")});
    }
  }
  const int pixels = kTextPixels - 2;
  const QFont font = text_font(pixels, false);
  const QFontMetricsF metrics(font);
  const double sample = 22;
  const double pad = 6;
  const double row = pixels + 6;
  double text_width = 0;
  for (const Row& r : rows) {
    text_width = std::max(text_width, metrics.horizontalAdvance(r.text));
  }
  const auto count = static_cast<double>(rows.size());
  const QSizeF size(pad * 3 + sample + text_width, pad * 2 + row * count);
  // The corner whose box hides the fewest points of the first panel's
  // curves and band: top right, top left, bottom right, bottom left.
  const QRectF corners[] = {
      {QPointF(area.right() - 8 - size.width(), area.top() + 8), size},
      {QPointF(area.left() + 8, area.top() + 8), size},
      {QPointF(area.right() - 8 - size.width(),
               area.bottom() - 8 - size.height()),
       size},
      {QPointF(area.left() + 8, area.bottom() - 8 - size.height()), size}};
  const ResultSeries& series = figure.panels.front().series;
  QRectF box = corners[0];
  std::size_t fewest = SIZE_MAX;
  for (const QRectF& corner : corners) {
    std::size_t hidden = 0;
    for (std::size_t i = 0; i < series.t.size(); ++i) {
      for (const double y :
           {series.observed[i], series.upper[i], series.lower[i]}) {
        hidden += corner.contains(frame.map(series.t[i], y)) ? 1 : 0;
      }
    }
    if (hidden < fewest) {
      fewest = hidden;
      box = corner;
    }
  }
  if (box.left() < area.left() || box.bottom() > area.bottom()) return;
  painter.save();
  painter.setFont(font);
  painter.setPen(QPen(QColor(150, 150, 150), 1));
  painter.setBrush(QColor(255, 255, 255, 230));
  painter.drawRect(box);
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const double mid = box.top() + pad + row * static_cast<double>(k) + row / 2;
    const double left = box.left() + pad;
    switch (rows[k].sample) {
      case Sample::kObserved:
        painter.setPen(
            QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(QPointF(left, mid), QPointF(left + sample, mid));
        break;
      case Sample::kBand:
        painter.setPen(Qt::NoPen);
        painter.setBrush(kBandColour);
        painter.drawRect(QRectF(left, mid - row / 3, sample, row * 2 / 3));
        break;
      case Sample::kGlobal:
        painter.setPen(QPen(kGlobalBandColour, 1.5, Qt::SolidLine, Qt::RoundCap,
                            Qt::RoundJoin));
        painter.drawLine(QPointF(left, mid), QPointF(left + sample, mid));
        break;
      case Sample::kOutside:
        painter.setPen(QPen(kOutsideColour, 2.5));
        painter.setBrush(kOutsideColour);
        painter.drawEllipse(QPointF(left + sample / 2, mid), 2.5, 2.5);
        break;
    }
    painter.setPen(Qt::black);
    painter.drawText(
        QRectF(left + sample + pad, mid - row / 2, text_width + 2, row),
        Qt::AlignLeft | Qt::AlignVCenter, rows[k].text);
  }
  painter.restore();
}

// The cells of the figure: the whole bounds below the figure title, or
// four quarters of it.
std::vector<QRectF> panel_cells(const ResultFigure& figure,
                                const QRectF& bounds) {
  if (figure.panels.size() <= 1) return {bounds};
  const QRectF body = bounds.adjusted(0, kFigureTitleHeight, 0, 0);
  const double w = body.width() / 2;
  const double h = body.height() / 2;
  std::vector<QRectF> cells;
  for (std::size_t k = 0; k < figure.panels.size(); ++k) {
    cells.emplace_back(body.left() + static_cast<double>(k % 2) * w,
                       body.top() + static_cast<double>(k / 2 % 2) * h, w, h);
  }
  return cells;
}

}  // namespace

QPointF PanelFrame::map(double t, double y) const {
  return {area.left() + (t - t_min) / (t_max - t_min) * area.width(),
          area.bottom() - (y - y_min) / (y_max - y_min) * area.height()};
}

QSize default_figure_size(const ResultFigure& figure) {
  return figure.panels.size() > 1 ? QSize(1200, 900) : QSize(800, 600);
}

std::vector<PanelFrame> layout_figure(const ResultFigure& figure,
                                      const QRectF& bounds) {
  const Range y_range = value_range(figure);
  const auto cells = panel_cells(figure, bounds);
  std::vector<PanelFrame> frames;
  for (std::size_t k = 0; k < figure.panels.size(); ++k) {
    const double top =
        figure.panels.size() > 1 ? kPanelTitleHeight : kFigureTitleHeight;
    PanelFrame f;
    f.area = cells[k].adjusted(kLeftMargin, top, -kRightMargin, -kBottomMargin);
    const Range t_range = distance_range(figure.panels[k].series);
    f.t_min = t_range.low;
    f.t_max = t_range.high;
    f.y_min = y_range.low;
    f.y_max = y_range.high;
    frames.push_back(f);
  }
  return frames;
}

void paint_figure(QPainter& painter, const ResultFigure& figure,
                  const QRectF& bounds) {
  painter.save();
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  const auto frames = layout_figure(figure, bounds);
  const Range y_range = value_range(figure);
  const bool several = figure.panels.size() > 1;
  if (several) {
    paint_title(
        painter,
        QRectF(bounds.left(), bounds.top(), bounds.width(), kFigureTitleHeight),
        figure.title, kTitlePixels);
  }
  for (std::size_t k = 0; k < frames.size(); ++k) {
    const PanelFrame& f = frames[k];
    const ResultSeries& s = figure.panels[k].series;
    paint_curves(painter, s, figure.reference, f);
    paint_global(painter, figure.panels[k], f);
    paint_axes(painter, f, distance_range(s), y_range, figure.axis_label);
    const double title_height =
        several ? kPanelTitleHeight : kFigureTitleHeight;
    paint_title(painter,
                QRectF(f.area.left(), f.area.top() - title_height,
                       f.area.width(), title_height),
                several ? figure.panels[k].title : figure.title,
                several ? kTextPixels : kTitlePixels);
  }
  // One legend serves every panel: the first one's.
  if (!frames.empty()) paint_legend(painter, figure, frames.front());
  painter.restore();
}

QImage render_figure_image(const ResultFigure& figure, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  paint_figure(painter, figure, QRectF(QPointF(0, 0), QSizeF(size)));
  painter.end();
  return image;
}

QByteArray render_figure_svg(const ResultFigure& figure, QSize size) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(size);
  generator.setViewBox(QRect(QPoint(0, 0), size));
  generator.setTitle(QString::fromStdString(figure.title));
  generator.setDescription(
      QString::fromStdString(figure.axis_label + " with its envelope"));
  QPainter painter(&generator);
  painter.fillRect(QRectF(QPointF(0, 0), QSizeF(size)), Qt::white);
  paint_figure(painter, figure, QRectF(QPointF(0, 0), QSizeF(size)));
  painter.end();
  return bytes;
}

std::string save_figure(const ResultFigure& figure, const std::string& path,
                        QSize size) {
  const std::string ext = lower_extension(path);
  QByteArray bytes;
  if (ext == ".svg") {
    bytes = render_figure_svg(figure, size);
  } else if (ext == ".png") {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!render_figure_image(figure, size).save(&buffer, "PNG")) {
      return "The PNG image could not be made";
    }
  } else {
    return "Cannot tell the image format of " + path + ": name it .svg or .png";
  }
  const Status written = write_whole_file(
      path, std::string_view(bytes.constData(),
                             static_cast<std::size_t>(bytes.size())));
  return written.ok() ? std::string() : written.text();
}

}  // namespace qlor
