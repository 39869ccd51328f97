// A run whose sample file is text in memory and whose curves stay there.
#include "analysis/memory_run.h"

#include "analysis/pattern_run.h"
#include "analysis/run_state.h"
#include "input/sample_header.h"
#include "simulation/null_model.h"

namespace qlor {

Status run_in_memory(const AppContext& ctx, const RunParameters& parameters,
                     const std::vector<PointRecord>& points, MemoryRun& run,
                     const MemoryRunOptions& options) {
  run = {};
  AnalysisState state;
  double pairs_total = 0;
  if (auto s = read_sample_text(sample_text(parameters, points), state,
                                ctx.settings.direction_index,
                                ctx.settings.significance_index, pairs_total);
      !s.ok()) {
    return s;
  }
  if (auto s = complete_run_state(state, ctx.settings.direction_index);
      !s.ok()) {
    return s;
  }
  std::unique_ptr<SummaryFunction> function;
  if (auto s = make_run_function(ctx, "the pattern", state, function);
      !s.ok()) {
    return s;
  }
  run.parameters = state;
  run.t = interval_distances(state);
  run.suffixes = function->suffixes();
  for (std::string& suffix : run.suffixes) {
    suffix += null_suffix(ctx.settings.null_model);
  }
  run.csr_value = function->csr_value(state);
  run.axis_label = function->axis_label();
  run.seed = start_run_seed(ctx);
  run.curves.assign(run.suffixes.size(), CurveSet{});
  const SimulationEnv env = simulation_env(ctx, run.seed, *function);
  std::unique_ptr<NullModel> model;
  if (auto s = make_null_model(state, env, model); !s.ok()) return s;
  return ctx.executor->run(
      state, *model, *function, 0,
      options.observed_only ? 0 : state.n_simulations, env,
      ctx.settings.threads, [&](std::int32_t s, const PatternValues& values) {
        if (s == 0) run.observed_exact = values;
        for (std::size_t k = 0; k < values.size(); ++k) {
          std::vector<double> curve(values[k].size());
          for (std::size_t i = 0; i < curve.size(); ++i) {
            curve[i] = as_written(values[k][i]);
          }
          run.curves[k].push_back(std::move(curve));
        }
        return options.check ? options.check(static_cast<std::int32_t>(
                                   run.curves[0].size()))
                             : Status{};
      });
}

Status memory_result_text(const MemoryRun& run, std::size_t k,
                          std::string& text) {
  return result_text(run.parameters, MemoryCurves(run.curves.at(k)), text);
}

Status memory_envelopes(const MemoryRun& run, std::size_t k,
                        ResultEnvelopes& envelopes) {
  return result_envelopes(run.parameters, MemoryCurves(run.curves.at(k)),
                          envelopes);
}

Status memory_test_statistics(const MemoryRun& run, std::size_t k,
                              TestKind kind, TestCentre centre,
                              std::vector<double>& statistics) {
  return test_statistics(run.parameters, MemoryCurves(run.curves.at(k)), kind,
                         centre, run.csr_value, statistics);
}

}  // namespace qlor
