// Fuzz target: both passes over a sample data file, header to records, and
// the simulation grid. Any status is fine; crashes and sanitizer reports
// are not.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "input/header_reader.h"
#include "input/parameter_checks.h"
#include "input/parameter_summary.h"
#include "input/record_reader.h"
#include "model/analysis_state.h"
#include "simulation/simulation_grid.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  // The first byte picks the settings the first pass reads.
  const int direction = size > 0 ? data[0] % 4 : 0;
  const int significance = size > 1 ? data[1] % 4 : 0;
  for (auto pass : {qlor::RecordPass::kSingle, qlor::RecordPass::kPrecheck,
                    qlor::RecordPass::kBatch}) {
    qlor::AnalysisState state;
    std::istringstream first(text);
    if (!qlor::read_header(state, first,
                           static_cast<qlor::Direction>(direction),
                           static_cast<qlor::Significance>(significance))
             .ok()) {
      return 0;
    }
    std::istringstream second(text);
    double total = 0;
    if (!qlor::check_parameters(state, second, total).ok()) return 0;
    if (!qlor::read_samples(state, second, pass).ok()) continue;
    if (pass == qlor::RecordPass::kPrecheck) continue;
    qlor::set_simulation_grid(state);
    (void)qlor::confirm_parameters_text(state, "");
  }
  return 0;
}
