// The cluster process: every centre receives a Poisson number of offspring,
// the counts adding up to the points still to place, and the offspring are
// placed around their centre.
#include "simulation/cluster.h"

#include <algorithm>
#include <cassert>
#include <cmath>

#include "simulation/acceptance.h"
#include "simulation/offspring_counts.h"
#include "simulation/poisson_table.h"

namespace qlor {

namespace {

constexpr int kAttempts = 20;
constexpr std::int64_t kPassesPerPoint = 10;
constexpr std::int64_t kParentDrawsPerPoint = 1000;
constexpr std::int64_t kMaxCountSweeps = 1000000;

bool keeps_species1(const AnalysisState& state, const SimulationEnv& env) {
  return state.analysis_type == AnalysisType::kBivariate &&
         env.randomize_mode == RandomizeMode::kSpecies2;
}

// Mode 1, once per run: species-1 points first (file order kept within each
// label) and, when there are more of them than centres, a random selection
// of m of them moved to the front to serve as centres.
Status prepare_fixed_centres(AnalysisState& state, const SimulationEnv& env,
                             LcgRandom& rng) {
  auto& points = state.points;
  std::stable_sort(points.begin(), points.end(),
                   [](const PointRecord& a, const PointRecord& b) {
                     return a.species < b.species;
                   });
  const std::int32_t n1 = state.n_species1_observed;
  assert(n1 >= state.n_centers && "record checks bound the centres");
  if (state.n_centers < n1) {
    struct MarkedRecord {
      PointRecord point;
      bool marked = false;
    };
    std::vector<MarkedRecord> work;
    if (auto s = allocate(work, static_cast<std::size_t>(n1),
                          AllocationCause::kSamplePoints);
        !s.ok()) {
      return s;
    }
    for (std::size_t i = 0; i < work.size(); ++i) work[i].point = points[i];
    // The selection is seeded with the clock time alone.
    rng.seed(simulation_seed(env.clock, 0));
    // Marked records are passed without a draw; the walk wraps around and
    // stops as soon as m records are marked.
    std::int32_t marked = 0;
    for (std::size_t i = 0; marked < state.n_centers;
         i = (i + 1) % work.size()) {
      if (!work[i].marked && rng.draw() % 2 == 1) {
        work[i].marked = true;
        ++marked;
      }
    }
    std::stable_partition(work.begin(), work.end(),
                          [](const MarkedRecord& r) { return r.marked; });
    for (std::size_t i = 0; i < work.size(); ++i) points[i] = work[i].point;
  }
  state.n_parents = n1;
  state.cluster_prepared = true;
  return {};
}

// Univariate and mode 2: the centres drawn on the plot grid, each redrawn
// while it coincides with an earlier one.
bool place_parents(AnalysisState& state, LcgRandom& rng, PositionSet& placed) {
  const std::int64_t max_draws = kParentDrawsPerPoint * state.n_points;
  for (std::int32_t i = 0; i < state.n_parents; ++i) {
    PointRecord& parent = state.points[static_cast<std::size_t>(i)];
    PointRecord drawn;
    std::int64_t draws = 0;
    do {
      if (++draws > max_draws) return false;
      drawn = grid_point(state, rng, state.grid_cells_x, state.grid_cells_y);
    } while (placed.contains(drawn));
    parent.x = drawn.x;
    parent.y = drawn.y;
    placed.insert(parent);
  }
  return true;
}

// What one attempt's offspring passes need besides the analysis state.
struct OffspringContext {
  const AnalysisState& state;
  LcgRandom& rng;
  const PositionSet& placed;
  std::int32_t offset_cells;  // c = 0 only
};

// c = 0: a candidate displaced from the centre by less than the radius
// along each axis; kept unless it leaves the plot (the far edges count as
// inside) or coincides with an earlier entry.
bool draw_displaced(const OffspringContext& ctx, const PointRecord& centre,
                    PointRecord& candidate) {
  const AnalysisState& s = ctx.state;
  const PointRecord offset =
      grid_point(s, ctx.rng, ctx.offset_cells, ctx.offset_cells);
  const bool west = ctx.rng.draw() % 2 == 1;
  const bool south = ctx.rng.draw() % 2 == 1;
  candidate.x = centre.x + (west ? -offset.x : offset.x);
  candidate.y = centre.y + (south ? -offset.y : offset.y);
  if (candidate.x < 0 || candidate.x > s.x_axis || candidate.y < 0 ||
      candidate.y > s.y_axis) {
    return false;
  }
  return !ctx.placed.contains(candidate);
}

// c != 0: a candidate anywhere on the plot, kept at once within the radius
// of its centre, else with probability c^e, e counting the distant
// offspring kept for this centre (from 1).
bool draw_scattered(const OffspringContext& ctx, const PointRecord& centre,
                    std::int32_t& e, PointRecord& candidate) {
  const AnalysisState& s = ctx.state;
  candidate = grid_point(s, ctx.rng, s.grid_cells_x, s.grid_cells_y);
  if (ctx.placed.contains(candidate)) return false;
  const double dx = candidate.x - centre.x;
  const double dy = candidate.y - centre.y;
  if (std::sqrt(dx * dx + dy * dy) <= s.radius) return true;
  if (!draw_acceptance(std::pow(s.c, static_cast<double>(e)), ctx.rng)) {
    return false;
  }
  ++e;
  return true;
}

// One attempt's offspring, centre by centre, into the entries after the
// parents. False when a centre runs out of passes, or when the last centre
// needs every pass it may have.
bool place_offspring(AnalysisState& state, LcgRandom& rng,
                     PositionSet& placed) {
  const OffspringContext ctx{
      state, rng, placed,
      state.c == 0 ? plot_grid_cells(state.radius, state.grid_scale) : 0};
  const std::int64_t max_passes = kPassesPerPoint * state.n_points;
  std::size_t next = static_cast<std::size_t>(state.n_parents);
  std::int64_t passes = 1;
  for (std::int32_t i = 0; i < state.n_centers; ++i) {
    const PointRecord centre = state.points[static_cast<std::size_t>(i)];
    const std::int32_t count =
        state.offspring_counts[static_cast<std::size_t>(i)];
    std::int32_t e = 1;
    passes = 1;
    for (std::int32_t done = 0; done < count;) {
      if (passes > max_passes) return false;
      ++passes;
      PointRecord candidate;
      const bool kept = state.c == 0
                            ? draw_displaced(ctx, centre, candidate)
                            : draw_scattered(ctx, centre, e, candidate);
      if (!kept) continue;
      PointRecord& offspring = state.points[next++];
      offspring.x = candidate.x;
      offspring.y = candidate.y;
      placed.insert(offspring);
      ++done;
    }
  }
  return passes <= max_passes;
}

// The plot grid and offset cells the pattern needs, before any draw.
bool has_cells(const AnalysisState& state, bool draws_parents) {
  if (state.c == 0) {
    if (plot_grid_cells(state.radius, state.grid_scale) <= 0) return false;
    if (!draws_parents) return true;
  }
  return state.grid_cells_x > 0 && state.grid_cells_y > 0;
}

}  // namespace

Status simulate_cluster(AnalysisState& state, std::int32_t s,
                        const SimulationEnv& env, LcgRandom& rng) {
  assert(state.n_centers >= 1 && "validation refuses clusters without centres");
  state.grid_cells_x = plot_grid_cells(state.x_axis, state.grid_scale);
  state.grid_cells_y = plot_grid_cells(state.y_axis, state.grid_scale);
  const bool fixed_centres = keeps_species1(state, env);
  if (!has_cells(state, !fixed_centres)) return kClusterFailure;

  // 1. Centres: fixed species-1 points chosen once per run, or parents.
  if (fixed_centres) {
    if (!state.cluster_prepared) {
      if (auto st = prepare_fixed_centres(state, env, rng); !st.ok()) {
        return st;
      }
    }
  } else {
    state.n_parents = state.n_centers;
  }
  const std::int32_t n_offspring = state.n_points - state.n_parents;
  assert(state.poisson_table.size() > static_cast<std::size_t>(n_offspring) &&
         state.offspring_counts.size() ==
             static_cast<std::size_t>(state.n_centers) &&
         "make_cluster_tables makes the tables of the run");

  // 2. Poisson table of the counts.
  const double mu = static_cast<double>(n_offspring) / state.n_centers;
  fill_poisson_table(state.poisson_table, mu, n_offspring);

  // 3. Attempts, each seeded anew from the clock.
  PositionSet placed;
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    rng.seed(simulation_seed(env.clock, s));
    // Counts are drawn in every attempt: a failed attempt always leaves the
    // counts of its completed centres short of the total. Without offspring
    // every count stays 0.
    if (n_offspring != 0 &&
        !draw_offspring_counts(state.offspring_counts, state.poisson_table,
                               n_offspring, kMaxCountSweeps, rng)) {
      return kClusterFailure;
    }
    placed.clear();
    placed.reserve(state.points.size());
    if (fixed_centres) {
      for (std::int32_t i = 0; i < state.n_parents; ++i) {
        placed.insert(state.points[static_cast<std::size_t>(i)]);
      }
    } else if (!place_parents(state, rng, placed)) {
      return kClusterFailure;
    }
    if (place_offspring(state, rng, placed)) return {};
  }
  return kClusterFailure;
}

}  // namespace qlor
