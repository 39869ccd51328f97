// The one place that turns the run's choice into a null model.
#include "simulation/null_model.h"

#include "simulation/cluster.h"
#include "simulation/csr.h"
#include "simulation/heterogeneous_poisson.h"
#include "simulation/inhibition.h"

namespace qlor {

namespace {

class FailingModel final : public NullModel {
 public:
  explicit FailingModel(Status status) : status_(std::move(status)) {}
  [[nodiscard]] Status simulate(AnalysisState&, PatternDraws&) const override {
    return status_;
  }

 private:
  Status status_;
};

}  // namespace

std::unique_ptr<NullModel> make_failing_model(Status status) {
  return std::make_unique<FailingModel>(std::move(status));
}

const char* null_model_name(const RunParameters& parameters) {
  switch (parameters.process_type) {
    case ProcessType::kCsr:
      break;
    case ProcessType::kInhibition:
      return parameters.c == 0 ? "SSI" : "Strauss-type inhibition";
    case ProcessType::kCluster:
      return "cluster";
  }
  return "CSR";
}

Status make_null_model(const AnalysisState& observed, const SimulationEnv& env,
                       std::unique_ptr<NullModel>& model) {
  if (env.intensity.inhomogeneous()) {
    model = make_heterogeneous_poisson_model(env.randomize_mode, env.intensity);
  } else {
    model = make_header_model(observed, env);
  }
  const std::unique_ptr<PatternDraws> draws = make_pattern_draws(env.seed);
  draws->start_pattern(0);
  return model->prepare(observed, *draws);
}

std::unique_ptr<NullModel> make_header_model(const AnalysisState& observed,
                                             const SimulationEnv& env) {
  std::unique_ptr<NullModel> model;
  switch (observed.process_type) {
    case ProcessType::kCsr:
      model = make_csr_model(env.randomize_mode);
      break;
    case ProcessType::kInhibition:
      model = make_inhibition_model(env.randomize_mode);
      break;
    case ProcessType::kCluster:
      model = make_cluster_model(env.randomize_mode);
      break;
  }
  return model;
}

const char* run_model_name(const RunParameters& parameters,
                           const Intensity& intensity) {
  return intensity.inhomogeneous() ? "heterogeneous Poisson"
                                   : null_model_name(parameters);
}

}  // namespace qlor
