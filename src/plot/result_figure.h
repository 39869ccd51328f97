// The figure of a result file: the envelope and the observed L(t) - t of
// one run, or of the four sectors of a directional run.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "results/global_envelope.h"

namespace qlor {

/// The columns of a result file.
struct ResultSeries {
  std::vector<double> t;
  std::vector<double> upper;
  std::vector<double> lower;
  std::vector<double> observed;
};

/// The global envelope of a panel's run, drawn on request.
struct GlobalBand {
  std::vector<double> lower;
  std::vector<double> upper;
  /// The distances where the observed curve leaves the band.
  std::vector<OutsideRange> outside;
  /// A rejection through tied values only: where the observed curve lies
  /// on the band's edge at its most extreme rank.
  std::vector<std::size_t> touching;
  double p_value = 1;
  double alpha = 0.05;
};

/// One set of axes: a result file and its title.
struct FigurePanel {
  std::string title;
  std::string file;  // the result file's path
  ResultSeries series;
  std::optional<GlobalBand> global;
};

enum class EnvelopeKind { kUnknown, kMinMax, kStdev };

struct ResultFigure {
  /// The file name(s) and the envelope kind.
  std::string title;
  /// The function the run estimated, "L(t) - t", "g(t)" or "O(t)", and its
  /// value under CSR, drawn as a dashed line (not a number: not known).
  std::string axis_label = "L(t) - t";
  double reference = 0.0;
  /// One panel, or the four sectors in the order of their suffixes.
  std::vector<FigurePanel> panels;
  EnvelopeKind envelope = EnvelopeKind::kUnknown;
  int n_simulations = 0;
  /// Where the figure goes when no output is named: beside the result
  /// file(s), ".svg".
  std::string default_output;
};

/// Reads the text of a result file ("t upper lower observed" per line).
/// Returns "" or a message naming the line.
[[nodiscard]] std::string parse_result_text(const std::string& text,
                                            ResultSeries& series);

/// The envelope kind that the number of simulations selects.
[[nodiscard]] EnvelopeKind envelope_kind(int n_simulations);

/// "max/min envelope of 19 simulations", "mean ± 1.96 sd envelope of 100
/// simulations"; empty when unknown.
[[nodiscard]] std::string envelope_label(EnvelopeKind kind, int n_simulations);

/// Loads the figure of `path`: a result file (".ktt"), or a sample data
/// file whose result files are looked for beside it. A sector result file
/// whose three sibling sectors exist gives the four-panel figure of the
/// directional run. The envelope kind comes from the sample data file's
/// number of simulations when that file is found. Returns "" or the
/// message to show.
[[nodiscard]] std::string load_result_figure(const std::string& path,
                                             ResultFigure& figure);

}  // namespace qlor
