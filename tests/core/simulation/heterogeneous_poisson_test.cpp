// The heterogeneous Poisson samplers: counts per quadrat against the
// intensity's mass, by goodness of fit with fixed seeds, and what each
// species does under the randomise setting.
#include "simulation/heterogeneous_poisson.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

#include "chi_square.h"
#include "model/lattice.h"
#include "model_run.h"

namespace qlor {
namespace {

using testing::ModelRun;

// A 100 x 80 plot on a lattice of 0.1, with n points of one species (or
// of two, alternating) spread over its west half.
AnalysisState observed_pattern(int n, bool bivariate) {
  AnalysisState s;
  s.x_axis = 100;
  s.y_axis = 80;
  s.n_points = n;
  s.analysis_type =
      bivariate ? AnalysisType::kBivariate : AnalysisType::kUnivariate;
  for (int i = 0; i < n; ++i) {
    const std::int32_t species = bivariate ? i % 2 : 0;
    s.points.push_back(
        {5.0 + (i * 37 % 400) / 10.0, 5.0 + (i * 53 % 700) / 10.0, species});
    ++(species == 0 ? s.n_species1 : s.n_species2);
  }
  s.n_species1_observed = s.n_species1;
  s.n_species2_observed = s.n_species2;
  s.coordinate_resolution = 100;  // 0.1
  set_simulation_grid(s);
  return s;
}

constexpr int kQuadrats = 5;  // along each axis

std::size_t quadrat_of(const AnalysisState& s, const PointRecord& p) {
  const auto i = static_cast<std::size_t>(p.x / s.x_axis * kQuadrats);
  const auto j = static_cast<std::size_t>(p.y / s.y_axis * kQuadrats);
  return j * kQuadrats + i;
}

// Counts per quadrat of `patterns` simulated patterns' moved points against
// `mass`, each quadrat's share of the intensity.
void expect_quadrat_fit(ModelRun& run, const AnalysisState& observed,
                        int patterns, const std::vector<double>& mass) {
  ASSERT_TRUE(run.prepared.ok()) << run.prepared.text();
  std::vector<double> counts(mass.size(), 0.0);
  double moved = 0;
  for (int s = 1; s <= patterns; ++s) {
    AnalysisState state = observed;
    ASSERT_TRUE(run.simulate(state, s).ok());
    for (const PointRecord& p : state.points) {
      ASSERT_TRUE(p.x >= 0 && p.x < state.x_axis && p.y >= 0 &&
                  p.y < state.y_axis);
      counts[quadrat_of(state, p)] += 1;
      moved += 1;
    }
  }
  std::vector<double> expected(mass.size());
  double total = 0;
  for (double m : mass) total += m;
  for (std::size_t q = 0; q < mass.size(); ++q) {
    expected[q] = moved * mass[q] / total;
  }
  const testing::ChiSquare x = testing::pearson(counts, expected);
  EXPECT_LT(testing::chi_square_z(x.statistic, x.df), 5)
      << x.statistic << " on " << x.df;
}

TEST(HeterogeneousPoisson, GridSamplerFollowsAStepIntensity) {
  const AnalysisState observed = observed_pattern(150, false);
  // Four columns of cells, 25 wide, with intensities 1, 4, 0 and 2: a
  // quadrat's mass is the intensity times its overlap with each column.
  auto grid = std::make_shared<IntensityGrid>();
  grid->x0 = 12.5;
  grid->y0 = 40;
  grid->dx = 25;
  grid->dy = 80;
  grid->nx = 4;
  grid->ny = 1;
  const double column[] = {1, 4, 0, 2};
  grid->values = {{1, 4, 0, 2}};
  Intensity intensity;
  intensity.source = IntensitySource::kFile;
  intensity.grid = grid;
  std::vector<double> mass(kQuadrats * kQuadrats, 0.0);
  for (int q = 0; q < kQuadrats * kQuadrats; ++q) {
    const double lo = (q % kQuadrats) * 20.0;
    for (int c = 0; c < 4; ++c) {
      const double overlap = std::max(
          0.0, std::min(lo + 20, 25.0 * (c + 1)) - std::max(lo, 25.0 * c));
      mass[static_cast<std::size_t>(q)] += column[c] * overlap;
    }
  }
  for (const GeneratorKind generator : testing::kBothGenerators) {
    SCOPED_TRACE(generator_name(generator));
    ModelRun run(observed, RandomizeMode::kSpecies2, {generator, 5}, intensity);
    expect_quadrat_fit(run, observed, 200, mass);
  }
}

TEST(HeterogeneousPoisson, KernelSamplerFollowsTheKernelSurface) {
  const AnalysisState observed = observed_pattern(60, false);
  Intensity intensity;
  intensity.source = IntensitySource::kKernel;
  intensity.sigma = 6;
  // The surface sum phi(u - x_j) / e(u) integrated over each quadrat by the
  // midpoint rule.
  std::vector<double> mass(kQuadrats * kQuadrats, 0.0);
  const double h = 0.5;
  for (double x = h / 2; x < observed.x_axis; x += h) {
    for (double y = h / 2; y < observed.y_axis; y += h) {
      double sum = 0;
      for (const PointRecord& p : observed.points) {
        const double d2 = (x - p.x) * (x - p.x) + (y - p.y) * (y - p.y);
        sum += std::exp(-d2 / (2 * 36.0));
      }
      mass[quadrat_of(observed, {x, y, 0})] +=
          sum / edge_mass(x, y, observed.x_axis, observed.y_axis, 6);
    }
  }
  ModelRun run(observed, RandomizeMode::kSpecies2, {GeneratorKind::kPhilox, 9},
               intensity);
  expect_quadrat_fit(run, observed, 300, mass);
}

TEST(HeterogeneousPoisson, EachSpeciesMovesAsTheRandomiseSettingSays) {
  const AnalysisState observed = observed_pattern(40, true);
  Intensity intensity;
  intensity.source = IntensitySource::kKernel;
  intensity.sigma = 2;
  for (const RandomizeMode mode :
       {RandomizeMode::kSpecies2, RandomizeMode::kBothSpecies}) {
    ModelRun run(observed, mode, {GeneratorKind::kPhilox, 3}, intensity);
    AnalysisState state = observed;
    ASSERT_TRUE(run.simulate(state, 1).ok());
    int kept = 0;
    for (std::size_t i = 0; i < state.points.size(); ++i) {
      const PointRecord& p = state.points[i];
      const PointRecord& o = observed.points[i];
      EXPECT_EQ(p.species, o.species);  // the labels stay
      if (p.x == o.x && p.y == o.y) ++kept;
    }
    if (mode == RandomizeMode::kSpecies2) {
      EXPECT_GE(kept, observed.n_species1);  // species 1 stays put
    } else {
      EXPECT_LT(kept, observed.n_species1 / 2);
    }
    // The same pattern number, the same pattern.
    AnalysisState again = observed;
    ASSERT_TRUE(run.simulate(again, 1).ok());
    for (std::size_t i = 0; i < state.points.size(); ++i) {
      EXPECT_EQ(again.points[i].x, state.points[i].x);
      EXPECT_EQ(again.points[i].y, state.points[i].y);
    }
  }
}

}  // namespace
}  // namespace qlor
