// The null model of a run: what a simulated pattern is. One interface for
// every model; the run's choice of model is made in make_null_model alone.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "model/analysis_state.h"
#include "simulation/pattern_draws.h"
#include "simulation/simulation_common.h"

namespace qlor {

class NullModel {
 public:
  virtual ~NullModel() = default;

  /// Takes what the model keeps from the observed pattern for the whole
  /// run, drawing from stream 0. Called once per run, before any pattern,
  /// and the same on every rank of a parallel run.
  [[nodiscard]] virtual Status prepare(const AnalysisState& observed,
                                       PatternDraws& draws) {
    (void)observed;
    (void)draws;
    return {};
  }

  /// Replaces the pattern in `state`, a copy of the observed state, by a
  /// simulated one drawn from `draws`, which the caller has started at the
  /// pattern's number. The outcome depends on the prepared model and the
  /// stream alone, never on a pattern made before on the same state. Safe on
  /// several threads at once, each with its own state and draws. Returns ""
  /// or the model's failure text.
  [[nodiscard]] virtual Status simulate(AnalysisState& state,
                                        PatternDraws& draws) const = 0;
};

/// What the header's model is called in the run's messages: "CSR", "SSI",
/// "Strauss-type inhibition" or "cluster".
[[nodiscard]] const char* null_model_name(const RunParameters& parameters);

/// What a homogeneous run's model is called in its messages: "random
/// labelling", "toroidal shift", or the header's (null_model_name).
[[nodiscard]] const char* null_model_name(const RunParameters& parameters,
                                          NullKind null_kind);

/// What a null model adds to the stems of a run's files: "", "_labels",
/// "_shift".
[[nodiscard]] const char* null_suffix(NullKind kind);

/// The null model's name in options and qlor.ini: "header", "labels",
/// "shift".
[[nodiscard]] const char* null_kind_name(NullKind kind);

/// The null model a file's stem ends with (the header's for none).
[[nodiscard]] NullKind null_of_stem(std::string_view stem);

/// A model whose every pattern fails with `status`: what a rank of a
/// parallel run makes when it cannot prepare the run's model.
[[nodiscard]] std::unique_ptr<NullModel> make_failing_model(Status status);

/// The run's null model, prepared from the observed pattern with the run's
/// generator and seed: the heterogeneous Poisson process of the run's
/// intensity, or the file header's model. Returns "" or the preparation's
/// failure ("MAF:1").
[[nodiscard]] Status make_null_model(const AnalysisState& observed,
                                     const SimulationEnv& env,
                                     std::unique_ptr<NullModel>& model);

/// The file header's model, unprepared.
[[nodiscard]] std::unique_ptr<NullModel> make_header_model(
    const AnalysisState& observed, const SimulationEnv& env);

}  // namespace qlor
