// Rejection samplers of the heterogeneous Poisson process on the simulation
// lattice.
#include "simulation/heterogeneous_poisson.h"

#include <cmath>

#include "model/fixed_math.h"
#include "model/lattice.h"

namespace qlor {

namespace {

/// The lattice point of the cell that holds (x, y), inside the plot.
PointRecord lattice_point_at(const AnalysisState& state, double x, double y) {
  const std::int32_t per_cell = lattice_steps_per_cell(state);
  auto step = [&](double v, std::int32_t cells) {
    const double last = static_cast<double>(cells) * per_cell - 1;
    const double k = std::floor(v * state.grid_scale * per_cell);
    return static_cast<std::int64_t>(std::fmin(std::fmax(k, 0.0), last));
  };
  PointRecord p;
  p.x = lattice_step_value(state, step(x, state.grid_cells_x), per_cell);
  p.y = lattice_step_value(state, step(y, state.grid_cells_y), per_cell);
  return p;
}

/// Two independent standard normal deviates by Marsaglia's polar method,
/// with the logarithm of fixed bits.
void normal_pair(PatternDraws& draws, double& a, double& b) {
  double v1 = 0;
  double v2 = 0;
  double s = 0;
  do {
    v1 = 2 * draws.uniform() - 1;
    v2 = 2 * draws.uniform() - 1;
    s = v1 * v1 + v2 * v2;
  } while (s >= 1 || s < 1e-300);
  const double f = std::sqrt(-2 * fixed_log(s) / s);
  a = v1 * f;
  b = v2 * f;
}

class HeterogeneousPoisson final : public NullModel {
 public:
  HeterogeneousPoisson(RandomizeMode randomize_mode, Intensity intensity)
      : randomize_mode_(randomize_mode), intensity_(std::move(intensity)) {}

  [[nodiscard]] Status prepare(const AnalysisState& observed,
                               PatternDraws&) override {
    const bool bivariate = observed.analysis_type == AnalysisType::kBivariate;
    for (int s = 0; s < 2; ++s) species_[s] = {};
    for (const PointRecord& p : observed.points) {
      species_[bivariate && p.species != 0 ? 1 : 0].push_back(p);
    }
    if (intensity_.source == IntensitySource::kKernel) {
      smallest_mass_ = smallest_edge_mass(observed.x_axis, observed.y_axis,
                                          intensity_.sigma);
    } else {
      for (int s = 0; s < (bivariate ? 2 : 1); ++s) {
        maximum_[s] = grid_maximum(*intensity_.grid, s);
      }
    }
    return {};
  }

  [[nodiscard]] Status simulate(AnalysisState& state,
                                PatternDraws& draws) const override {
    state.grid_cells_x = plot_grid_cells(state.x_axis, state.grid_scale);
    state.grid_cells_y = plot_grid_cells(state.y_axis, state.grid_scale);
    if (state.grid_cells_x == 0 || state.grid_cells_y == 0) {
      return kHeterogeneousFailure;
    }
    draws.start_attempt();
    const bool bivariate = state.analysis_type == AnalysisType::kBivariate;
    PositionSet placed;
    add_fixed_points(state, randomize_mode_, placed);
    // A point that needs more than this many draws shows that the lattice
    // points the intensity reaches are taken.
    const std::int64_t max_draws =
        1000 * static_cast<std::int64_t>(state.n_points) + 100000;
    for (auto& point : state.points) {
      if (is_fixed_point(state, randomize_mode_, point)) continue;
      const int species = bivariate && point.species != 0 ? 1 : 0;
      PointRecord candidate;
      std::int64_t n_draws = 0;
      do {
        if (++n_draws > max_draws) return kHeterogeneousFailure;
      } while (!draw(state, species, draws, candidate) ||
               placed.contains(candidate));
      point.x = candidate.x;
      point.y = candidate.y;
      placed.insert(point);
    }
    return {};
  }

 private:
  /// One proposal for a point of `species`: true with the point when kept.
  bool draw(const AnalysisState& state, int species, PatternDraws& draws,
            PointRecord& point) const {
    if (intensity_.source == IntensitySource::kFile) {
      point = grid_point(state, draws, state.grid_cells_x, state.grid_cells_y);
      const double value =
          grid_intensity(*intensity_.grid, species, point.x, point.y);
      return draws.accept(value / maximum_[species]);
    }
    const auto& from = species_[species];
    const PointRecord& centre = from[static_cast<std::size_t>(
        draws.below(static_cast<std::int32_t>(from.size())))];
    double a = 0;
    double b = 0;
    normal_pair(draws, a, b);
    const double x = centre.x + intensity_.sigma * a;
    const double y = centre.y + intensity_.sigma * b;
    if (!(x >= 0 && x < state.x_axis && y >= 0 && y < state.y_axis)) {
      return false;
    }
    // Kept with probability e_min / e(u): at once when u < e_min, since
    // e(u) <= 1.
    const double u = draws.uniform();
    if (u >= smallest_mass_ &&
        u * edge_mass(x, y, state.x_axis, state.y_axis, intensity_.sigma) >=
            smallest_mass_) {
      return false;
    }
    point = lattice_point_at(state, x, y);
    return true;
  }

  RandomizeMode randomize_mode_;
  Intensity intensity_;
  std::vector<PointRecord> species_[2];
  double smallest_mass_ = 1;
  double maximum_[2] = {0, 0};
};

}  // namespace

std::unique_ptr<NullModel> make_heterogeneous_poisson_model(
    RandomizeMode randomize_mode, const Intensity& intensity) {
  return std::make_unique<HeterogeneousPoisson>(randomize_mode, intensity);
}

}  // namespace qlor
