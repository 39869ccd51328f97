// A null model prepared for a run, and its patterns made one at a time, as
// a worker of the run makes them.
#pragma once

#include <memory>

#include "simulation/null_model.h"

namespace qlor::testing {

struct ModelRun {
  ModelRun(const AnalysisState& observed, RandomizeMode mode, RunSeed seed,
           const Intensity& intensity = {})
      : draws(make_pattern_draws(seed)) {
    prepared = make_null_model(observed, {seed, mode, intensity}, model);
  }
  /// Pattern s on `state`.
  [[nodiscard]] Status simulate(AnalysisState& state, std::int32_t s) {
    draws->start_pattern(s);
    return model->simulate(state, *draws);
  }

  std::unique_ptr<PatternDraws> draws;
  std::unique_ptr<NullModel> model;
  Status prepared;
};

inline constexpr GeneratorKind kBothGenerators[] = {GeneratorKind::kClassic,
                                                    GeneratorKind::kPhilox};

}  // namespace qlor::testing
