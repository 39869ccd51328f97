// The K and L estimators on CSR patterns in a 100 x 100 plot at 50
// distances t = 0.5, 1, .. 25, in i-j calculations (n^2 ordered pairs per
// distance) per second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

#include "model/analysis_state.h"
#include "statistics/edge_weight.h"
#include "statistics/kl_directional.h"
#include "statistics/kl_estimator.h"
#include "statistics/pair_kernel.h"

namespace qlor {
namespace {

constexpr int kIntervals = 50;

AnalysisState csr_pattern(int n, bool bivariate, Direction direction) {
  AnalysisState state;
  state.x_axis = 100;
  state.y_axis = 100;
  state.t_interval = 0.5;
  state.t_min_steps = 1;
  state.last_interval = kIntervals - 1;
  state.analysis_type =
      bivariate ? AnalysisType::kBivariate : AnalysisType::kUnivariate;
  state.n_points = n;
  std::mt19937 gen(12345);
  std::uniform_real_distribution<double> coordinate(0, 100);
  for (int i = 0; i < n; ++i) {
    const double x = coordinate(gen);
    const double y = coordinate(gen);
    const std::int32_t species = bivariate ? i % 2 : 0;
    state.points.push_back({x, y, species});
    ++(species == 0 ? state.n_species1 : state.n_species2);
  }
  if (!allocate_result_arrays(state, direction).ok()) std::abort();
  return state;
}

void count_items(benchmark::State& bench, int n) {
  const double pairs = static_cast<double>(n) * n * kIntervals;
  bench.SetItemsProcessed(static_cast<std::int64_t>(
      static_cast<double>(bench.iterations()) * pairs));
}

template <void (*Estimate)(AnalysisState&, PairScratch&)>
void run(benchmark::State& bench, bool bivariate, Direction direction) {
  const int n = static_cast<int>(bench.range(0));
  AnalysisState state = csr_pattern(n, bivariate, direction);
  PairScratch scratch;
  for (auto _ : bench) {
    Estimate(state, scratch);
    benchmark::DoNotOptimize(state.l_values.data());
    benchmark::DoNotOptimize(state.sector_l_values[0].data());
    benchmark::ClobberMemory();
  }
  count_items(bench, n);
}

void BM_ComputeKl(benchmark::State& bench) {
  run<compute_kl>(bench, false, Direction::kNone);
}
void BM_ComputeKlBivariate(benchmark::State& bench) {
  run<compute_kl>(bench, true, Direction::kNone);
}
void BM_ComputeKlCardinal(benchmark::State& bench) {
  run<compute_kl_cardinal>(bench, true, Direction::kCardinal);
}
void BM_ComputeKlDiagonal(benchmark::State& bench) {
  run<compute_kl_diagonal>(bench, true, Direction::kDiagonal);
}
void BM_ComputeKlHalfPlanes(benchmark::State& bench) {
  run<compute_kl_half_planes>(bench, true, Direction::kHalfPlanes);
}

// compute_kl with each variant of the kernel the processor runs
// (0 baseline, 1 AVX2, 2 AVX-512).
void BM_ComputeKlVariant(benchmark::State& bench) {
  const int n = static_cast<int>(bench.range(0));
  const auto isa = static_cast<KernelIsa>(bench.range(1));
  const auto supported = supported_kernel_isas();
  if (std::find(supported.begin(), supported.end(), isa) == supported.end()) {
    bench.SkipWithError("not supported by this processor");
    return;
  }
  AnalysisState state = csr_pattern(n, false, Direction::kNone);
  PairScratch scratch;
  for (auto _ : bench) {
    compute_kl(state, scratch, isa);
    benchmark::DoNotOptimize(state.l_values.data());
    benchmark::ClobberMemory();
  }
  count_items(bench, n);
}

// The floor: the distance and edge weight of every close pair, found and
// visited as compute_kl does but summed into one number, without intervals.
// compute_kl's time per pattern is reported as a multiple of this. Built
// for the same instruction sets as the estimator, and run with the widest.
[[gnu::always_inline]] inline double floor_pass(const AnalysisState& state,
                                                PairScratch& scratch) {
  double total = 0;
  for_each_close_pair(
      state.points, state.x_axis, state.y_axis, state.t_of(state.last_interval),
      false, scratch, [&](std::size_t j, std::size_t, double d) {
        const PointRecord& c = state.points[j];
        total += edge_weight(state.x_axis, state.y_axis, c.x, c.y, d);
      });
  return total;
}

void BM_PairKernelFloor(benchmark::State& bench) {
  const int n = static_cast<int>(bench.range(0));
  const AnalysisState state = csr_pattern(n, false, Direction::kNone);
  const KernelIsa isa = best_kernel_isa();
  PairScratch scratch;
  for (auto _ : bench) {
    benchmark::DoNotOptimize(run_kernel<floor_pass>(isa, state, scratch));
  }
  count_items(bench, n);
}

BENCHMARK(BM_PairKernelFloor)
    ->Arg(2000)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComputeKl)
    ->Arg(2000)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComputeKlVariant)
    ->ArgsProduct({{5000}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComputeKlBivariate)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComputeKlCardinal)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComputeKlDiagonal)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComputeKlHalfPlanes)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace qlor

BENCHMARK_MAIN();
