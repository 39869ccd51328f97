// The K and L estimators on CSR patterns in a 100 x 100 plot at 50
// distances t = 0.5, 1, .. 25, in i-j calculations (n^2 ordered pairs per
// distance) per second.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "model/analysis_state.h"
#include "model/fixed_math.h"
#include "statistics/edge_batch.h"
#include "statistics/edge_weight.h"
#include "statistics/inhomogeneous.h"
#include "statistics/interval_sums.h"
#include "statistics/kernel_intensity.h"
#include "statistics/kl_directional.h"
#include "statistics/kl_estimator.h"
#include "statistics/pair_kernel.h"
#include "statistics/pcf_estimator.h"
#include "statistics/summary_function.h"

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

// g(t) by the kernel, Stoyan's bandwidth (0.15 / sqrt(n / 10^4)), and by
// rings, on the pattern of BM_ComputeKl: a g run's cost per pattern beside
// an L run's.
void BM_ComputePcfKernel(benchmark::State& bench) {
  const int n = static_cast<int>(bench.range(0));
  AnalysisState state = csr_pattern(n, false, Direction::kNone);
  PairScratch scratch;
  std::vector<double> g;
  const double h = 0.15 / std::sqrt(n / 1e4);
  for (auto _ : bench) {
    compute_pcf_kernel(state, h, false, scratch, g);
    benchmark::DoNotOptimize(g.data());
    benchmark::ClobberMemory();
  }
  count_items(bench, n);
}
void BM_ComputePcfRing(benchmark::State& bench) {
  const int n = static_cast<int>(bench.range(0));
  AnalysisState state = csr_pattern(n, false, Direction::kNone);
  PairScratch scratch;
  std::vector<double> g;
  for (auto _ : bench) {
    compute_pcf_ring(state, false, scratch, g);
    benchmark::DoNotOptimize(g.data());
    benchmark::ClobberMemory();
  }
  count_items(bench, n);
}

// The Gaussian kernel intensity at every point (sigma one eighth of the
// side): every pair's term, as an inhomogeneous run needs for each pattern.
void BM_KernelIntensity(benchmark::State& bench) {
  const int n = static_cast<int>(bench.range(0));
  const AnalysisState state = csr_pattern(n, false, Direction::kNone);
  std::vector<double> lambda;
  for (auto _ : bench) {
    kernel_intensity_at_points(state.points, false, 100, 100, 12.5, lambda);
    benchmark::DoNotOptimize(lambda.data());
    benchmark::ClobberMemory();
  }
}

// The whole estimate of an inhomogeneous pattern, L_inhom with the kernel
// intensity of the default sigma: the intensity at the points, then the
// weighted pair sums. Beside BM_ComputeKl, a Linhom run's cost per pattern.
void BM_ComputeLinhom(benchmark::State& bench) {
  const int n = static_cast<int>(bench.range(0));
  AnalysisState state = csr_pattern(n, false, Direction::kNone);
  FunctionChoice choice;
  choice.kind = FunctionKind::kLinhom;
  choice.intensity.source = IntensitySource::kKernel;
  choice.intensity.sigma = 12.5;
  const auto function = make_summary_function(choice);
  PairScratch scratch;
  PatternValues values;
  for (auto _ : bench) {
    if (!function->estimate(state, scratch, values).ok()) {
      bench.SkipWithError("no intensity");
      return;
    }
    benchmark::DoNotOptimize(values.data());
    benchmark::ClobberMemory();
  }
}

// The weighted pair sums alone.
void BM_WeightedPairSums(benchmark::State& bench) {
  const int n = static_cast<int>(bench.range(0));
  AnalysisState state = csr_pattern(n, false, Direction::kNone);
  const std::vector<double> scale(state.points.size(), 1.0);
  PairScratch scratch;
  std::vector<double> s12;
  std::vector<double> s21;
  for (auto _ : bench) {
    weighted_pair_sums(state, scale, scratch, s12, s21);
    benchmark::DoNotOptimize(s12.data());
    benchmark::ClobberMemory();
  }
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

// The floor: the work no exact estimator of this pattern can avoid, as
// tight loops, each with its inputs laid out ahead (untimed):
//   - the square root of every candidate pair the cell scan of compute_kl
//     visits (the same grid and cells; each centre's rows of cells found
//     ahead);
//   - one arc cosine (fixed_acos, the estimator's) per edge crossing that a
//     weight needs (the pair lies within the largest distance and its
//     centre's circle crosses an edge), at the vector width;
//   - the ordered interval adds of every edge-corrected weight: each weight
//     added on its own, in pair order, to the intervals from its first one
//     on, at the vector width of the instruction set: one masked add per
//     register, the pairs' adds one dependent chain through the sums (a
//     loop from the register of the first interval on, with fewer adds,
//     takes 2.7 times as long: its trip count mispredicts);
//   - for a centre whose circle lies inside the plot, one count per pair by
//     first interval and each interval's ones added in closed form, as an
//     exact estimator does it.
// compute_kl's time per pattern is reported as a multiple of this. Built for
// the same instruction sets as the estimator, and run with the widest.
// BM_PairKernelFloor/N/15 is the whole floor; /5000/1, 2, 4 and 8 time the
// square roots, arc cosines, edge adds and interior counts alone.
struct FloorWork {
  double reach = 0;
  std::vector<double> acos_arguments;         // in pair order, and room
  mutable std::vector<double> arcs;           // their arc cosines, and room
  std::size_t acos_count = 0;                 // the arguments
  std::vector<std::uint8_t> first;            // edge pairs' first intervals
  std::vector<double> weight;                 // and their weights
  std::vector<std::uint8_t> interior_first;   // interior pairs' ...
  std::vector<std::uint32_t> interior_pairs;  // ... per interior centre
  // The cell scan's rows: each centre's candidates in one row of cells.
  struct Run {
    double x, y;  // the centre
    std::uint32_t begin, count;
  };
  std::vector<Run> runs;
  double candidates = 0;   // square roots
  double pairs = 0;        // ordered pairs within the largest distance
  double scalar_adds = 0;  // weight adds, one per edge pair and interval
};

FloorWork floor_work(const AnalysisState& state, PairScratch& scratch) {
  FloorWork work;
  const std::vector<double> t = interval_distances(state);
  work.reach = t.back();
  const double inverse_step = 1 / state.t_interval;
  std::size_t centre = state.points.size();
  bool interior = false;
  for_each_close_pair(
      state.points, state.x_axis, state.y_axis, work.reach, false, scratch,
      [&](std::size_t j, std::size_t, double d) {
        const PointRecord& c = state.points[j];
        if (j != centre) {
          centre = j;
          interior =
              circle_inside(state.x_axis, state.y_axis, c.x, c.y, work.reach);
          if (interior) work.interior_pairs.push_back(0);
        }
        const std::size_t first =
            first_interval_from_step(t, inverse_step, state.t_min_steps, d);
        if (first >= t.size()) return;
        ++work.pairs;
        if (interior) {
          ++work.interior_pairs.back();
          work.interior_first.push_back(static_cast<std::uint8_t>(first));
          return;
        }
        // The edge tests of the weight: each crossed edge needs one acos.
        if (c.x - d < 0) {
          work.acos_arguments.push_back(c.x / d);
        } else if (c.x + d > state.x_axis) {
          work.acos_arguments.push_back((state.x_axis - c.x) / d);
        }
        if (c.y - d < 0) {
          work.acos_arguments.push_back(c.y / d);
        } else if (c.y + d > state.y_axis) {
          work.acos_arguments.push_back((state.y_axis - c.y) / d);
        }
        work.first.push_back(static_cast<std::uint8_t>(first));
        work.weight.push_back(
            edge_weight(state.x_axis, state.y_axis, c.x, c.y, d));
        work.scalar_adds += static_cast<double>(t.size() - first);
      });
  // The candidates of the cell scan, as compute_kl visits them.
  const PointGrid& grid = scratch.grids[0];
  for (const PointRecord& c : state.points) {
    const ReachRows rows(grid, c.y, work.reach);
    for (int gy = rows.lo; gy <= rows.hi; ++gy) {
      const RowSpan span = row_span(grid, rows, c.x, c.y, gy);
      work.candidates += span.stop - span.begin;
      if (span.stop > span.begin) {
        work.runs.push_back(
            {c.x, c.y, static_cast<std::uint32_t>(span.begin),
             static_cast<std::uint32_t>(span.stop - span.begin)});
      }
    }
  }
  // Room for the whole vectors of arc_cosines.
  work.acos_count = work.acos_arguments.size();
  work.acos_arguments.resize(work.acos_count + 8, 0.0);
  work.arcs = std::vector<double>(work.acos_arguments.size(), 0.0);
  return work;
}

template <int W>
using FloorVector = Chunk<W>;

/// The sums of kIntervals intervals in registers of W lanes, each weight
/// added from the register that holds its first interval on.
template <int W>
struct FloorSums {
  static constexpr int kRegisters = (kIntervals + W - 1) / W;
  static_assert(kRegisters <= 32, "one case per register below");
  FloorVector<W> sum[kRegisters] = {};

  // The weight added to every interval from `first` on: one add per
  // register, each lane masked by its interval, so that nothing branches on
  // the pair (as in the estimator); each register's adds form the pair's
  // dependent chain through the sums.
  [[gnu::always_inline]] void add_from(std::size_t first, double w) {
    FloorVector<W> lanes;
    set_lanes<W>(lanes, 0.0);
    const FloorVector<W> all = FloorVector<W>{} + w;
    const double from = static_cast<double>(first);
    for (int c = 0; c < kRegisters; ++c) {
      const FloorVector<W> interval = lanes + static_cast<double>(c * W);
      sum[c] += interval >= from ? all : FloorVector<W>{};
    }
  }
};

// The floor's parts, which BM_PairKernelFloor also times one at a time.
enum FloorPart : int {
  kSquareRoots = 1,
  kArcCosines = 2,
  kEdgeAdds = 4,
  kInteriorCounts = 8,
  kWholeFloor = 15
};

template <int W>
[[gnu::always_inline]] inline double floor_pass(
    [[maybe_unused]] const AnalysisState& state, const FloorWork& work,
    PairScratch& scratch, int parts) {
  double total = 0;
  // The square roots of the cell scan.
  if ((parts & kSquareRoots) != 0) {
    const PointGrid& grid = scratch.grids[0];
    const double* xs = grid.xs();
    const double* ys = grid.ys();
    double* d = scratch.candidate_d.data();
    std::size_t within = 0;
    for (const FloorWork::Run& run : work.runs) {
      const double* row_x = xs + run.begin;
      const double* row_y = ys + run.begin;
      for (std::size_t i = 0; i < run.count; ++i) {
        const double dx = run.x - row_x[i];
        const double dy = run.y - row_y[i];
        d[i] = std::sqrt(dx * dx + dy * dy);
      }
      for (std::size_t i = 0; i < run.count; ++i) {
        within += d[i] <= work.reach ? 1 : 0;
      }
    }
    total += static_cast<double>(within);
  }
  // The arc cosines.
  if ((parts & kArcCosines) != 0) {
    const std::size_t n_arcs = work.acos_count;
    arc_cosines<W>(work.acos_arguments.data(), work.arcs.data(), n_arcs);
    total += n_arcs > 0 ? work.arcs[n_arcs / 2] : 0.0;
  }
  // The ordered adds of the edge-corrected weights.
  if ((parts & kEdgeAdds) != 0) {
    FloorSums<W> sums;
    for (std::size_t p = 0; p < work.first.size(); ++p) {
      sums.add_from(work.first[p], work.weight[p]);
    }
    for (const FloorVector<W>& s : sums.sum) {
      double lanes[W];
      std::memcpy(lanes, &s, sizeof lanes);
      total += lanes[0];
    }
  }
  // The interior centres: counts by first interval, ones in closed form.
  if ((parts & kInteriorCounts) != 0) {
    std::vector<std::uint64_t> counts(kIntervals + 1);
    std::vector<double> ones(kIntervals, 0.0);
    const std::uint8_t* first = work.interior_first.data();
    for (const std::uint32_t pairs : work.interior_pairs) {
      std::fill(counts.begin(), counts.end(), 0);
      for (std::uint32_t p = 0; p < pairs; ++p) ++counts[*first++];
      std::uint64_t reached = 0;
      for (int i = 0; i < kIntervals; ++i) {
        reached += counts[static_cast<std::size_t>(i)];
        ones[static_cast<std::size_t>(i)] =
            add_ones(ones[static_cast<std::size_t>(i)], reached);
      }
    }
    total += ones.back();
  }
  return total;
}

/// The floor pass of the widest instruction set the processor runs, at its
/// vector width: 8 lanes with AVX-512, 4 with AVX2, 2 otherwise.
double run_floor(const AnalysisState& state, const FloorWork& work,
                 PairScratch& scratch, int parts) {
  return run_kernel<floor_pass<2>, floor_pass<4>, floor_pass<8>>(
      best_kernel_isa(), state, work, scratch, parts);
}

int vector_width() {
  switch (best_kernel_isa()) {
    case KernelIsa::kAvx512:
      return 8;
    case KernelIsa::kAvx2:
      return 4;
    default:
      return 2;
  }
}

void BM_PairKernelFloor(benchmark::State& bench) {
  const int n = static_cast<int>(bench.range(0));
  const int parts = static_cast<int>(bench.range(1));
  const AnalysisState state = csr_pattern(n, false, Direction::kNone);
  PairScratch scratch;
  const FloorWork work = floor_work(state, scratch);
  for (auto _ : bench) {
    benchmark::DoNotOptimize(run_floor(state, work, scratch, parts));
  }
  count_items(bench, n);
  const int w = vector_width();
  double vector_adds = 0;
  for (const std::uint8_t first : work.first) {
    vector_adds += (kIntervals + w - 1) / w - first / w;
  }
  bench.counters["sqrt"] = work.candidates;
  bench.counters["pairs"] = work.pairs;
  bench.counters["edge_pairs"] = static_cast<double>(work.first.size());
  bench.counters["acos"] = static_cast<double>(work.acos_count);
  bench.counters["adds"] = work.scalar_adds;
  bench.counters["vector_adds"] = vector_adds;
  bench.counters["width"] = w;
}

BENCHMARK(BM_PairKernelFloor)
    ->ArgsProduct({{2000, 5000, 20000}, {kWholeFloor}})
    ->ArgsProduct({{5000},
                   {kSquareRoots, kArcCosines, kEdgeAdds, kInteriorCounts}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComputeKl)
    ->Arg(2000)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComputePcfKernel)
    ->Arg(2000)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComputePcfRing)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComputeLinhom)
    ->Arg(2000)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WeightedPairSums)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KernelIntensity)
    ->Arg(2000)
    ->Arg(5000)
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
