// The cluster process: every centre receives a Poisson number of offspring,
// the counts adding up to the points still to place, and the offspring are
// placed around their centre.
#include "simulation/cluster.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace qlor {

namespace {

constexpr int kAttempts = 20;
constexpr std::int64_t kPassesPerPoint = 10;
constexpr std::int64_t kParentDrawsPerPoint = 1000;

// Univariate and mode 2: the centres drawn on the plot grid, each redrawn
// while it coincides with an earlier one.
bool place_parents(AnalysisState& state, PatternDraws& draws,
                   PositionSet& placed) {
  const std::int64_t max_draws = kParentDrawsPerPoint * state.n_points;
  for (std::int32_t i = 0; i < state.n_parents; ++i) {
    PointRecord& parent = state.points[static_cast<std::size_t>(i)];
    PointRecord drawn;
    std::int64_t n_draws = 0;
    do {
      if (++n_draws > max_draws) return false;
      drawn = grid_point(state, draws, state.grid_cells_x, state.grid_cells_y);
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
  PatternDraws& draws;
  const PositionSet& placed;
  std::int32_t offset_cells;  // c = 0 only
};

// c = 0: a candidate displaced from the centre by less than the radius
// along each axis; kept unless it leaves the plot (the far edges count as
// inside) or coincides with an earlier entry.
bool draw_displaced(const OffspringContext& ctx, const PointRecord& centre,
                    PointRecord& candidate) {
  const AnalysisState& s = ctx.state;
  const PointRecord offset = ctx.draws.offset(s, ctx.offset_cells);
  candidate.x = centre.x + offset.x;
  candidate.y = centre.y + offset.y;
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
  candidate = grid_point(s, ctx.draws, s.grid_cells_x, s.grid_cells_y);
  if (ctx.placed.contains(candidate)) return false;
  const double dx = candidate.x - centre.x;
  const double dy = candidate.y - centre.y;
  if (std::sqrt(dx * dx + dy * dy) <= s.radius) return true;
  if (!ctx.draws.accept(std::pow(s.c, static_cast<double>(e)))) return false;
  ++e;
  return true;
}

// One attempt's offspring, centre by centre, into the entries after the
// parents. False when a centre runs out of passes, or when the last centre
// needs every pass it may have.
bool place_offspring(AnalysisState& state, PatternDraws& draws,
                     PositionSet& placed) {
  const OffspringContext ctx{
      state, draws, placed,
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

class ClusterModel final : public NullModel {
 public:
  explicit ClusterModel(RandomizeMode randomize_mode)
      : randomize_mode_(randomize_mode) {}

  // A bivariate run that keeps species 1 keeps its points in front, file
  // order kept within each label, and when there are more of them than
  // centres, m chosen ones moved to the very front to serve as centres.
  [[nodiscard]] Status prepare(const AnalysisState& observed,
                               PatternDraws& draws) override {
    if (!keeps_species1(observed)) return {};
    const std::int32_t n1 = observed.n_species1_observed;
    assert(n1 >= observed.n_centers && "record checks bound the centres");
    if (auto s = allocate(fixed_, static_cast<std::size_t>(n1),
                          AllocationCause::kSamplePoints);
        !s.ok()) {
      return s;
    }
    std::copy_if(observed.points.begin(), observed.points.end(), fixed_.begin(),
                 [](const PointRecord& p) { return p.species == 0; });
    if (observed.n_centers < n1) {
      std::vector<std::uint8_t> chosen;
      if (auto s =
              allocate(chosen, fixed_.size(), AllocationCause::kSamplePoints);
          !s.ok()) {
        return s;
      }
      draws.start_attempt();
      draws.choose(chosen, observed.n_centers);
      std::vector<PointRecord> ordered;
      ordered.reserve(fixed_.size());
      for (int pass = 1; pass >= 0; --pass) {
        for (std::size_t i = 0; i < fixed_.size(); ++i) {
          if (chosen[i] == pass) ordered.push_back(fixed_[i]);
        }
      }
      fixed_ = std::move(ordered);
    }
    return {};
  }

  [[nodiscard]] Status simulate(AnalysisState& state,
                                PatternDraws& draws) const override {
    assert(state.n_centers >= 1 &&
           "validation refuses clusters without centres");
    state.grid_cells_x = plot_grid_cells(state.x_axis, state.grid_scale);
    state.grid_cells_y = plot_grid_cells(state.y_axis, state.grid_scale);
    const bool fixed_centres = keeps_species1(state);
    if (!has_cells(state, !fixed_centres)) return kClusterFailure;

    // Centres: the run's fixed species-1 points in front, or parents.
    if (fixed_centres) {
      std::copy(fixed_.begin(), fixed_.end(), state.points.begin());
      for (std::size_t i = fixed_.size(); i < state.points.size(); ++i) {
        state.points[i].species = 1;
      }
      state.n_parents = static_cast<std::int32_t>(fixed_.size());
    } else {
      state.n_parents = state.n_centers;
    }
    const std::int32_t n_offspring = state.n_points - state.n_parents;
    assert(state.poisson_table.size() > static_cast<std::size_t>(n_offspring) &&
           state.offspring_counts.size() ==
               static_cast<std::size_t>(state.n_centers) &&
           "make_cluster_tables makes the tables of the run");

    PositionSet placed;
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
      draws.start_attempt();
      // Counts are drawn in every attempt. Without offspring every count
      // stays 0.
      if (n_offspring != 0 &&
          !draws.offspring_counts(state.offspring_counts, n_offspring,
                                  state.poisson_table)) {
        return kClusterFailure;
      }
      placed.clear();
      placed.reserve(state.points.size());
      if (fixed_centres) {
        for (std::int32_t i = 0; i < state.n_parents; ++i) {
          placed.insert(state.points[static_cast<std::size_t>(i)]);
        }
      } else if (!place_parents(state, draws, placed)) {
        return kClusterFailure;
      }
      if (place_offspring(state, draws, placed)) return {};
    }
    return kClusterFailure;
  }

 private:
  [[nodiscard]] bool keeps_species1(const AnalysisState& state) const {
    return state.analysis_type == AnalysisType::kBivariate &&
           randomize_mode_ == RandomizeMode::kSpecies2;
  }

  RandomizeMode randomize_mode_;
  // Mode 1: the species-1 points in the order every pattern keeps, the
  // centres first.
  std::vector<PointRecord> fixed_;
};

}  // namespace

std::unique_ptr<NullModel> make_cluster_model(RandomizeMode randomize_mode) {
  return std::make_unique<ClusterModel>(randomize_mode);
}

}  // namespace qlor
