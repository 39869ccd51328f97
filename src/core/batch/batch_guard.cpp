// The identity check runs before the first entry is checked, so a refused
// batch writes nothing at all.
#include "batch/batch_guard.h"

#include <filesystem>
#include <vector>

#include "analysis/open_dialogs.h"
#include "analysis/single_run.h"
#include "results/file_names.h"
#include "results/significance_tests.h"
#include "results/tmp_file.h"
#include "simulation/null_model.h"
#include "statistics/summary_function.h"

namespace qlor {

namespace {

bool is_batch_file(const std::string& path, const std::string& batch) {
  std::error_code ec;
  return std::filesystem::equivalent(path, batch, ec);
}

// What the files a batch entry's run writes end in after the stem (a
// batch runs no directional analysis: one file per kind).
std::vector<std::string> entry_extensions(const RunSettings& settings) {
  // The suffixes of the function the settings make (L_inhom for L with an
  // intensity, with its pairs) and of the null model, whatever the entry's
  // plot.
  Intensity intensity;
  intensity.source = settings.intensity.source;
  const std::string function =
      make_summary_function(settings, AnalysisState{}, intensity)
          ->suffixes()
          .front() +
      null_suffix(settings.null_model);
  std::vector<std::string> extensions{function + ".tmp", function + ".ktt"};
  if (runs_supremum(settings.significance_index)) {
    extensions.push_back(function +
                         test_file_ending(".sup", settings.test_centre));
  }
  if (runs_cramer_von_mises(settings.significance_index)) {
    extensions.push_back(function +
                         test_file_ending(".cvm", settings.test_centre));
  }
  return extensions;
}

}  // namespace

std::string output_naming_batch_file(const AppContext& ctx,
                                     const ViewState& view) {
  const std::string& batch = view.batch_file_name;
  if (const std::string err = change_extension(batch, ".err");
      is_batch_file(err, batch)) {
    return err;
  }
  const auto extensions = entry_extensions(ctx.settings);
  for (const std::string& entry : view.batch_entries) {
    if (!can_open_for_reading(entry)) continue;
    for (const std::string& extension : extensions) {
      const std::string out = change_extension(entry, extension);
      if (is_batch_file(out, batch)) return out;
    }
  }
  return {};
}

void refuse_batch_output(AppContext& ctx, ViewState& view,
                         const std::string& output) {
  view.batch_entries.clear();
  end_of_run(ctx, view, kFileWriteError + output);
  view.input_path.clear();
}

}  // namespace qlor
