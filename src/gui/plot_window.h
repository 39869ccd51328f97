// View > Plot result: the figure of a result file in a window of its own,
// which can save it as PNG or SVG.
#pragma once

#include <QWidget>
#include <string>

class QCheckBox;

#include "plot/result_figure.h"

namespace qlor::gui {

class QtPlatform;

inline constexpr const char* kPlotResultTitle = "QLOR - plot result file ...";
inline constexpr const char* kPlotResultFilter =
    "Output files (*.KTT)|*.ktt| All files (*.*) |*.*||";

class PlotWindow final : public QWidget {
  Q_OBJECT

 public:
  /// A top-level window (deleted when closed) showing `figure`. Refusals
  /// go to `platform`'s message boxes when given.
  explicit PlotWindow(ResultFigure figure, QWidget* parent = nullptr,
                      QtPlatform* platform = nullptr);

  /// The figure as shown: with the global envelopes while the "Global
  /// envelope" box is checked.
  [[nodiscard]] const ResultFigure& figure() const { return figure_; }

  /// The "Global envelope" check box.
  [[nodiscard]] QCheckBox* global_box() const { return global_box_; }

  /// Writes the figure at its standard size, SVG or PNG by the extension
  /// of `path`. Returns "" or the message to show.
  [[nodiscard]] std::string save(const std::string& path) const;

 private:
  /// Asks for a file name of the given kind ("png" or "svg") and saves.
  void save_as(const QString& kind);
  /// Shows or hides the 95 % global envelopes; a run whose temporary file
  /// cannot be read is reported and the box unchecked.
  void show_global(bool on);

  ResultFigure pointwise_;  // the figure as loaded
  ResultFigure figure_;     // the figure shown
  QtPlatform* platform_ = nullptr;
  QWidget* canvas_ = nullptr;
  QCheckBox* global_box_ = nullptr;
};

/// `wanted`, shrunk where needed so that the window with its frame fits the
/// `available` part of a screen.
[[nodiscard]] QSize fit_to_screen(QSize wanted, const QRect& available);

/// Shows the figure of `open_file` (the open sample file, whose result it
/// finds as qlor plot does) in a new PlotWindow, or, when there is none or
/// it has no result, asks for a result file; a file that cannot be drawn is
/// reported in a message box. Returns the window, or nullptr when the
/// dialog was cancelled or the file refused.
PlotWindow* plot_result(QtPlatform& platform, QWidget* parent,
                        const std::string& open_file = {});

}  // namespace qlor::gui
