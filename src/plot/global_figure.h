// The global envelopes of a figure's panels, computed from the temporary
// file beside each result file.
#pragma once

#include <string>

#include "plot/result_figure.h"

namespace qlor {

/// Computes each panel's 100(1 - alpha) % global envelope from the
/// temporary file of its result file (same name, ".tmp") and the sample
/// data file found for it, names the test in the titles and the default
/// output "..._global.svg". On failure
/// the figure is left as it was. Returns "" or the message to show.
[[nodiscard]] std::string add_global_envelopes(ResultFigure& figure,
                                               double alpha);

/// " - global ERL 95 %, p = 0.012".
[[nodiscard]] std::string global_band_label(const GlobalBand& band);

}  // namespace qlor
