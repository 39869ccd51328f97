// Global envelopes for figures: the curves of each panel's run, the test,
// and the band matched to the result file's distances.
#include "plot/global_figure.h"

#include <cstdio>

#include "batch/global_envelope_run.h"
#include "results/file_names.h"

namespace qlor {

namespace {

std::string panel_band(const FigurePanel& panel, double alpha,
                       GlobalBand& band) {
  const std::string tmp = change_extension(panel.file, ".tmp");
  RunCurves run;
  if (auto s = read_run_curves(tmp, run); !s.ok()) {
    return path_title(tmp) + ": " +
           (s.allocation_cause() ? "not enough memory for the curves"
                                 : s.text());
  }
  if (run.t.size() != panel.series.t.size()) {
    return path_title(tmp) + " has " + std::to_string(run.t.size()) +
           " distances, " + panel.title + " " +
           std::to_string(panel.series.t.size());
  }
  const GlobalEnvelope g = global_envelope(run.curves, alpha);
  band.lower = g.lower;
  band.upper = g.upper;
  // Judged on the observed curve of the temporary file, as the test saw it.
  band.outside = g.outside;
  band.touching = g.touching;
  band.p_value = g.p_value;
  band.alpha = alpha;
  return {};
}

}  // namespace

std::string global_band_label(const GlobalBand& band) {
  char text[96];
  std::snprintf(text, sizeof text, " - global ERL %g %%, p = %.4g",
                100 * (1 - band.alpha), band.p_value);
  return text;
}

std::string add_global_envelopes(ResultFigure& figure, double alpha) {
  std::vector<GlobalBand> bands(figure.panels.size());
  for (std::size_t k = 0; k < figure.panels.size(); ++k) {
    if (auto s = panel_band(figure.panels[k], alpha, bands[k]); !s.empty()) {
      return s;
    }
  }
  for (std::size_t k = 0; k < figure.panels.size(); ++k) {
    FigurePanel& panel = figure.panels[k];
    panel.title += global_band_label(bands[k]);
    panel.global = std::move(bands[k]);
  }
  // A figure of its own beside the pointwise one.
  const std::string& out = figure.default_output;
  if (out.size() > 4 && out.compare(out.size() - 4, 4, ".svg") == 0) {
    figure.default_output = out.substr(0, out.size() - 4) + "_global.svg";
  }
  if (figure.panels.size() == 1) {
    figure.title += global_band_label(*figure.panels.front().global);
  } else {
    figure.title += " - global ERL envelopes";
  }
  return {};
}

}  // namespace qlor
