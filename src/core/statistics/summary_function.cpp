// L(t) - t with its directional variants, g and O: the functions a run can
// estimate, and the one table of their names.
#include "statistics/summary_function.h"

#include <cmath>
#include <cstdio>
#include <new>

#include "statistics/estimate.h"
#include "statistics/inhomogeneous.h"
#include "statistics/pcf_estimator.h"

namespace qlor {

namespace {

struct FunctionInfo {
  FunctionKind kind;
  const char* suffix;
  const char* label;
};

constexpr FunctionInfo kFunctions[] = {
    {FunctionKind::kL, "", "L(t) - t"},
    {FunctionKind::kG, "_g", "g(t)"},
    {FunctionKind::kO, "_O", "O(t)"},
    {FunctionKind::kLinhom, "_Linhom", "L_inhom(t) - t"},
    {FunctionKind::kGinhom, "_ginhom", "g_inhom(t)"},
};

const FunctionInfo& info(FunctionKind kind) {
  for (const auto& f : kFunctions) {
    if (f.kind == kind) return f;
  }
  return kFunctions[0];
}

/// L(t) - t of the whole pattern, or of the four sectors of a direction.
class LFunction final : public SummaryFunction {
 public:
  explicit LFunction(Direction direction) : direction_(direction) {}

  [[nodiscard]] FunctionChoice choice() const override {
    return {FunctionKind::kL, direction_, PcfEstimator::kKernel, 0.0, {}};
  }

  Status estimate(AnalysisState& state, PairScratch& scratch,
                  PatternValues& values) const override {
    estimate_pattern(state, direction_, scratch);
    if (direction_ == Direction::kNone) {
      values.assign(1, state.l_values);
    } else {
      values.assign(state.sector_l_values.begin(), state.sector_l_values.end());
    }
    return {};
  }
  [[nodiscard]] std::vector<std::string> suffixes() const override {
    if (direction_ == Direction::kNone) return {""};
    const auto s = sector_suffixes_for(direction_);
    return {s.begin(), s.end()};
  }
  [[nodiscard]] double csr_value(const AnalysisState&) const override {
    return 0.0;
  }
  [[nodiscard]] const char* axis_label() const override {
    return info(FunctionKind::kL).label;
  }

 private:
  Direction direction_;
};

/// g and its relatives are not defined at t = 0.
Status check_first_distance(FunctionKind kind, const AnalysisState& state) {
  if (state.t_min_steps > 0) return {};
  return std::string(info(kind).label) +
         " is not defined at t = 0: the first distance (t_min) must be "
         "above 0  ";
}

/// g(t) or the O-ring statistic, by the kernel of half-width h or by rings.
class PcfFunction final : public SummaryFunction {
 public:
  PcfFunction(FunctionKind kind, PcfEstimator estimator, double h)
      : kind_(kind), estimator_(estimator), h_(h) {}

  [[nodiscard]] FunctionChoice choice() const override {
    return {kind_, Direction::kNone, estimator_, h_, {}};
  }

  [[nodiscard]] Status check(const AnalysisState& state) const override {
    if (auto s = check_first_distance(kind_, state); !s.ok()) return s;
    return check_bandwidth(choice(), state);
  }
  Status estimate(AnalysisState& state, PairScratch& scratch,
                  PatternValues& values) const override {
    values.resize(1);
    const bool o_ring = kind_ == FunctionKind::kO;
    if (estimator_ == PcfEstimator::kRing) {
      compute_pcf_ring(state, o_ring, scratch, values[0]);
    } else {
      compute_pcf_kernel(state, h_, o_ring, scratch, values[0]);
    }
    return {};
  }
  [[nodiscard]] std::vector<std::string> suffixes() const override {
    return {info(kind_).suffix};
  }
  [[nodiscard]] double csr_value(const AnalysisState& state) const override {
    if (kind_ == FunctionKind::kG) return 1.0;
    const bool bivariate = state.analysis_type == AnalysisType::kBivariate;
    return o_ring_csr_value(
        bivariate ? state.n_species1_observed : state.n_points,
        bivariate ? state.n_species2_observed : 0, state.x_axis * state.y_axis);
  }
  [[nodiscard]] const char* axis_label() const override {
    return info(kind_).label;
  }

 private:
  FunctionKind kind_;
  PcfEstimator estimator_;
  double h_;
};

/// L_inhom(t) - t, or g_inhom(t) by the kernel of half-width h, with the
/// intensity at each pattern's points found anew.
class InhomogeneousFunction final : public SummaryFunction {
 public:
  InhomogeneousFunction(FunctionKind kind, double h, Intensity intensity)
      : kind_(kind), h_(h), intensity_(std::move(intensity)) {}

  [[nodiscard]] FunctionChoice choice() const override {
    return {kind_, Direction::kNone, PcfEstimator::kKernel, h_, intensity_};
  }

  [[nodiscard]] Status check(const AnalysisState& state) const override {
    if (kind_ != FunctionKind::kGinhom) return {};
    if (auto s = check_first_distance(kind_, state); !s.ok()) return s;
    return check_bandwidth(choice(), state);
  }
  Status estimate(AnalysisState& state, PairScratch& scratch,
                  PatternValues& values) const override {
    std::vector<double>& scale = scratch.scale;
    if (auto s = intensity_at_points(state, intensity_, scale); !s.ok()) {
      return s;
    }
    for (double& v : scale) v = 1.0 / v;
    values.resize(1);
    if (kind_ == FunctionKind::kGinhom) {
      compute_g_inhom(state, scale, h_, scratch, values[0]);
    } else {
      compute_l_inhom(state, scale, scratch, values[0]);
    }
    return {};
  }
  [[nodiscard]] std::vector<std::string> suffixes() const override {
    return {info(kind_).suffix};
  }
  [[nodiscard]] double csr_value(const AnalysisState&) const override {
    return kind_ == FunctionKind::kGinhom ? 1.0 : 0.0;
  }
  [[nodiscard]] const char* axis_label() const override {
    return info(kind_).label;
  }

 private:
  FunctionKind kind_;
  double h_;
  Intensity intensity_;
};

/// A bivariate pattern's pairs within one species: the univariate
/// function on that species' points.
class WithinSpecies final : public SummaryFunction {
 public:
  /// `intensity` is the run's as chosen; `inner`'s holds the species'
  /// values alone.
  WithinSpecies(std::unique_ptr<SummaryFunction> inner, PairSet pairs,
                Intensity intensity)
      : inner_(std::move(inner)),
        pairs_(pairs),
        intensity_(std::move(intensity)) {}

  [[nodiscard]] FunctionChoice choice() const override {
    FunctionChoice c = inner_->choice();
    c.pairs = pairs_;
    c.intensity = intensity_;
    return c;
  }
  [[nodiscard]] Status check(const AnalysisState& state) const override {
    return inner_->check(species_pattern(state, key()));
  }
  Status estimate(AnalysisState& state, PairScratch& scratch,
                  PatternValues& values) const override {
    AnalysisState species = species_pattern(state, key());
    if (!allocate_result_arrays(species, Direction::kNone).ok()) {
      throw std::bad_alloc();
    }
    return inner_->estimate(species, scratch, values);
  }
  [[nodiscard]] std::vector<std::string> suffixes() const override {
    return {function_suffix(inner_->choice().kind, pairs_)};
  }
  [[nodiscard]] double csr_value(const AnalysisState& state) const override {
    return inner_->csr_value(species_pattern(state, key()));
  }
  [[nodiscard]] const char* axis_label() const override {
    return inner_->axis_label();
  }

 private:
  [[nodiscard]] int key() const { return pairs_ == PairSet::k22 ? 1 : 0; }

  std::unique_ptr<SummaryFunction> inner_;
  PairSet pairs_;
  Intensity intensity_;
};

}  // namespace

AnalysisState species_pattern(const AnalysisState& state, int key) {
  AnalysisState species;
  static_cast<RunParameters&>(species) = state;
  species.analysis_type = AnalysisType::kUnivariate;
  for (const PointRecord& p : state.points) {
    if ((p.species != 0 ? 1 : 0) == key)
      species.points.push_back({p.x, p.y, 0});
  }
  // A run's state whose points are released still has the counts.
  species.n_points =
      !state.points.empty()
          ? static_cast<std::int32_t>(species.points.size())
          : (key == 0 ? state.n_species1_observed : state.n_species2_observed);
  species.n_species1 = species.n_species1_observed = species.n_points;
  return species;
}

std::string bandwidth_too_large(double h, double largest) {
  char text[256];
  std::snprintf(text, sizeof text,
                "Bandwidth %.6g too large: t_max + bandwidth must not exceed "
                "half the plot's shorter side; the largest bandwidth allowed "
                "is %.6g  ",
                h, largest);
  return text;
}

Status check_bandwidth(const FunctionChoice& choice,
                       const RunParameters& parameters) {
  if (choice.kind == FunctionKind::kL || choice.kind == FunctionKind::kLinhom ||
      choice.estimator == PcfEstimator::kRing) {
    return {};
  }
  const double largest = largest_bandwidth(parameters);
  if (choice.bandwidth <= largest) return {};
  return bandwidth_too_large(choice.bandwidth, largest);
}

std::unique_ptr<SummaryFunction> make_summary_function(
    const RunSettings& settings, const AnalysisState& observed,
    const Intensity& intensity) {
  FunctionChoice choice{settings.function, settings.direction_index,
                        settings.estimator, settings.bandwidth, intensity};
  if (intensity.inhomogeneous()) {
    choice.kind = settings.function == FunctionKind::kG ? FunctionKind::kGinhom
                                                        : FunctionKind::kLinhom;
    choice.estimator = PcfEstimator::kKernel;
  }
  if (choice.kind != FunctionKind::kL && choice.kind != FunctionKind::kLinhom &&
      !(choice.bandwidth > 0)) {
    choice.bandwidth = default_bandwidth(observed);
  }
  if (choice.kind == FunctionKind::kLinhom) choice.bandwidth = 0;
  choice.pairs = settings.pairs;
  if (choice.pairs != PairSet::kCross && !(settings.bandwidth > 0) &&
      choice.kind != FunctionKind::kL && choice.kind != FunctionKind::kLinhom) {
    // Stoyan's rule from the species' own density (from all points when
    // only the header has been read).
    const AnalysisState species =
        species_pattern(observed, choice.pairs == PairSet::k22 ? 1 : 0);
    if (species.n_points > 0) choice.bandwidth = default_bandwidth(species);
  }
  return make_summary_function(choice);
}

std::unique_ptr<SummaryFunction> make_summary_function(
    const FunctionChoice& choice) {
  if (choice.pairs != PairSet::kCross) {
    FunctionChoice within = choice;
    within.pairs = PairSet::kCross;
    within.direction = Direction::kNone;
    // The species' own values of a bivariate grid.
    const std::size_t key = choice.pairs == PairSet::k22 ? 1 : 0;
    if (choice.intensity.grid && choice.intensity.grid->values.size() > key) {
      auto grid = std::make_shared<IntensityGrid>(*choice.intensity.grid);
      grid->values = {choice.intensity.grid->values[key]};
      within.intensity.grid = std::move(grid);
    }
    return std::make_unique<WithinSpecies>(make_summary_function(within),
                                           choice.pairs, choice.intensity);
  }
  switch (choice.kind) {
    case FunctionKind::kG:
    case FunctionKind::kO:
      return std::make_unique<PcfFunction>(choice.kind, choice.estimator,
                                           choice.bandwidth);
    case FunctionKind::kLinhom:
    case FunctionKind::kGinhom:
      return std::make_unique<InhomogeneousFunction>(
          choice.kind, choice.bandwidth, choice.intensity);
    case FunctionKind::kL:
      break;
  }
  return std::make_unique<LFunction>(choice.direction);
}

StemFunction function_of_stem(std::string_view stem) {
  // Within one species: the function's suffix ("_L" for L) and "11" or "22".
  for (const PairSet pairs : {PairSet::k11, PairSet::k22}) {
    for (const auto& f : kFunctions) {
      const std::string suffix = function_suffix(f.kind, pairs);
      if (stem.size() > suffix.size() && stem.ends_with(suffix)) {
        return {f.kind, pairs, suffix.size()};
      }
    }
  }
  for (const auto& f : kFunctions) {
    const std::string_view suffix(f.suffix);
    if (!suffix.empty() && stem.size() > suffix.size() &&
        stem.ends_with(suffix)) {
      return {f.kind, PairSet::kCross, suffix.size()};
    }
  }
  return {};
}

std::string function_suffix(FunctionKind kind, PairSet pairs) {
  if (pairs == PairSet::kCross) return info(kind).suffix;
  const std::string base = kind == FunctionKind::kL ? "_L" : info(kind).suffix;
  return base + (pairs == PairSet::k11 ? "11" : "22");
}

std::string describe_function(const FunctionChoice& choice) {
  std::string text = info(choice.kind).label;
  if (choice.kind != FunctionKind::kL && choice.kind != FunctionKind::kLinhom) {
    if (choice.estimator == PcfEstimator::kRing) {
      text += ", rings";
    } else {
      char h[64];
      std::snprintf(h, sizeof h, "%.6g", choice.bandwidth);
      text += std::string(", kernel of half-width ") + h;
    }
  }
  if (choice.intensity.inhomogeneous()) {
    text += ", intensity " + describe_intensity(choice.intensity);
  }
  if (choice.pairs != PairSet::kCross) {
    text += choice.pairs == PairSet::k11 ? ", pairs within species 1"
                                         : ", pairs within species 2";
  }
  return text;
}

double csr_value_of(FunctionKind kind, const AnalysisState& state,
                    PairSet pairs) {
  RunSettings settings;
  settings.function = kind;
  settings.pairs = pairs;
  return make_summary_function(settings, state)->csr_value(state);
}

const char* function_label(FunctionKind kind) { return info(kind).label; }

double o_ring_csr_value(double n1, double n2, double area) {
  if (n2 == 0) return n1 / area;
  return (n1 * n1 + n2 * n2) / (area * (n1 + n2));
}

}  // namespace qlor
