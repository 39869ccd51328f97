// The null-model generators on 2000 points (the cluster process also on
// 5000) in a 100 x 100 plot: one simulated pattern per iteration. The
// BM_Cluster.../patterns:20 runs make exactly simulations 1 .. 20, for
// instruction counts that compare builds on the same patterns
// (valgrind --tool=callgrind --toggle-collect='qlor::simulate_cluster*').
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <random>

#include "model/analysis_state.h"
#include "model/clock.h"
#include "simulation/cluster_tables.h"
#include "simulation/simulate.h"
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

void simulate(benchmark::State& bench, AnalysisState state) {
  const FixedClock clock(1700000000);
  const SimulationEnv env{clock, RandomizeMode::kSpecies2};
  LcgRandom rng;
  std::int32_t s = 1;
  for (auto _ : bench) {
    const Status status = simulate_pattern(state, s++, env, rng);
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
  simulate(bench, observed_pattern(ProcessType::kCluster, 5, 0, n / 50, n));
}

BENCHMARK(BM_Csr)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ssi)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Strauss)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cluster)->Arg(2000)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Cluster)
    ->Name("BM_ClusterPatterns")
    ->Arg(2000)
    ->Arg(5000)
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qlor

BENCHMARK_MAIN();
