// Painting the figure of a result file with QPainter into any paint device,
// and saving it as SVG or PNG.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <string>
#include <vector>

#include "plot/result_figure.h"

class QPainter;

namespace qlor {

/// The light grey of the envelope band.
inline const QColor kBandColour{211, 211, 211};
/// The outline of a global envelope and the observed values outside it.
inline const QColor kGlobalBandColour{70, 70, 70};
inline const QColor kOutsideColour{220, 0, 0};

/// The plotting area of one panel (inside its axes) and the data range that
/// it shows.
struct PanelFrame {
  QRectF area;
  double t_min = 0;
  double t_max = 1;
  double y_min = 0;
  double y_max = 1;
  /// The point of the area that shows (t, y).
  [[nodiscard]] QPointF map(double t, double y) const;
};

/// 800 x 600 for one panel, 1200 x 900 for four.
[[nodiscard]] QSize default_figure_size(const ResultFigure& figure);

/// Where each panel's plotting area lies within `bounds`: one panel fills
/// them, four share them two by two in sector order. Every panel shows the
/// same range of L(t) - t, so that the sectors compare at a glance.
[[nodiscard]] std::vector<PanelFrame> layout_figure(const ResultFigure& figure,
                                                    const QRectF& bounds);

/// Paints the figure into `bounds`: per panel the envelope as a grey band,
/// the observed values as a solid black line, a dashed line at 0, the axes
/// "t" and "L(t) - t" and a title; in the first panel a small legend of
/// the observed line and the envelope with its kind; with a global envelope
/// also its outline in dark grey and the observed values outside it in red.
void paint_figure(QPainter& painter, const ResultFigure& figure,
                  const QRectF& bounds);

/// The figure on a white image of `size`.
[[nodiscard]] QImage render_figure_image(const ResultFigure& figure,
                                         QSize size);

/// The figure as an SVG document of `size`.
[[nodiscard]] QByteArray render_figure_svg(const ResultFigure& figure,
                                           QSize size);

/// Writes the figure to `path`, as SVG or PNG by its extension. Returns ""
/// or the message to show.
[[nodiscard]] std::string save_figure(const ResultFigure& figure,
                                      const std::string& path, QSize size);

}  // namespace qlor
