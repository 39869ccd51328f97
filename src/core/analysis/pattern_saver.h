// The simulated patterns of a run saved as CSV ("pattern,x,y,species"), one
// row per point, pattern 1 first. Each pattern is simulated again from its
// own stream when the run hands on its values, in pattern order, so that the
// file is the same whatever threads or ranks made the patterns. The file
// takes its name only when complete. A sample
// file imported with an offset origin gets its survey coordinates back.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "input/plot_origin.h"
#include "model/analysis_state.h"
#include "results/whole_file.h"
#include "simulation/null_model.h"

namespace qlor {

class PatternSaver {
 public:
  /// Creates `path` and writes the header row; `model` (prepared for the
  /// run) and `env` make the patterns of `observed` again, and `origin` is
  /// added to their coordinates. Returns "" or the write error naming the
  /// file.
  [[nodiscard]] Status open(const std::string& path,
                            const AnalysisState& observed,
                            const NullModel& model, const SimulationEnv& env,
                            const PlotOrigin& origin = {});
  [[nodiscard]] bool is_open() const { return model_ != nullptr; }
  /// Appends pattern s (1 .. n): "" or the simulation's failure or the
  /// write error.
  [[nodiscard]] Status save(std::int32_t s);
  /// Flushes the file and gives it its name: "" or the write error.
  [[nodiscard]] Status close();
  /// Drops what was written, leaving any earlier file of the name.
  void abandon();

 private:
  WholeFileWriter out_;
  AnalysisState state_;
  const NullModel* model_ = nullptr;
  std::unique_ptr<PatternDraws> draws_;
  PlotOrigin origin_;
  int lattice_decimals_ = 0;
};

}  // namespace qlor
