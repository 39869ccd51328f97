// The null models on 2000 points (the cluster process also on 5000) in a
// 100 x 100 plot: one simulated pattern per iteration, with Philox (/0) and
// the classic generator (/1). The BM_ClusterPatterns runs make exactly
// simulations 1 .. 20, for instruction counts that compare builds on the
// same patterns (valgrind --tool=callgrind
// --toggle-collect='*ClusterModel::simulate*').
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>

#include "model/analysis_state.h"
#include "simulation/cluster_tables.h"
#include "simulation/null_model.h"
#include "simulation/simulation_grid.h"

namespace qlor {
namespace {

AnalysisState observed_pattern(ProcessType process_type, double radius,
                               double c, int centers, int n_points = 2000) {
  AnalysisState state;
  state.x_axis = 100;
  state.y_axis = 100;
  state.process_type = process_type;
  state.radius = radius;
  state.c = c;
  state.n_centers = centers;
  state.n_points = n_points;
  std::mt19937 gen(7);
  std::uniform_int_distribution<int> cell(0, 9999);
  PositionSet seen;
  while (static_cast<int>(state.points.size()) < state.n_points) {
    const PointRecord p{cell(gen) / 100.0, cell(gen) / 100.0, 0};
    if (seen.contains(p)) continue;
    seen.insert(p);
    state.points.push_back(p);
    update_coordinate_resolution(state, p.x);
  }
  set_simulation_grid(state);
  // A few kilobytes: only a broken build fails here.
  if (process_type == ProcessType::kCluster &&
      !make_cluster_tables(state, state).ok()) {
    std::abort();
  }
  return state;
}

// The generator is the benchmark's argument `generator_arg`.
void simulate(benchmark::State& bench, AnalysisState state,
              int generator_arg = 0) {
  const auto generator = static_cast<GeneratorKind>(bench.range(generator_arg));
  const SimulationEnv env{{generator, 1700000000}, RandomizeMode::kSpecies2};
  std::unique_ptr<NullModel> model;
  if (!make_null_model(state, env, model).ok()) std::abort();
  const std::unique_ptr<PatternDraws> draws = make_pattern_draws(env.seed);
  std::int32_t s = 1;
  for (auto _ : bench) {
    draws->start_pattern(s++);
    const Status status = model->simulate(state, *draws);
    if (!status.ok()) bench.SkipWithError(status.text().c_str());
  }
}

void BM_Csr(benchmark::State& bench) {
  simulate(bench, observed_pattern(ProcessType::kCsr, 0, 0, 0));
}
void BM_Ssi(benchmark::State& bench) {
  simulate(bench, observed_pattern(ProcessType::kInhibition, 1, 0, 0));
}
void BM_Strauss(benchmark::State& bench) {
  simulate(bench, observed_pattern(ProcessType::kInhibition, 2, 0.5, 0));
}
// Clusters of 49 offspring on average: 40 centres for 2000 points, 100 for
// 5000.
void BM_Cluster(benchmark::State& bench) {
  const auto n = static_cast<int>(bench.range(0));
  simulate(bench, observed_pattern(ProcessType::kCluster, 5, 0, n / 50, n), 1);
}

BENCHMARK(BM_Csr)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ssi)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Strauss)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cluster)
    ->ArgsProduct({{2000, 5000}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cluster)
    ->Name("BM_ClusterPatterns")
    ->ArgsProduct({{2000, 5000}, {0, 1}})
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qlor

BENCHMARK_MAIN();
