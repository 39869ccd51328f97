// Inhomogeneous pair sums. Unlike K's, whose every interval adds its
// weights in the all-pairs order, these add each pair once, to a histogram
// over the intervals, and accumulate it afterwards: a centre inside the plot
// has no closed form here (its pairs' terms differ), and one add per pair is
// what keeps the inhomogeneous run about as fast as the homogeneous one.
#include "statistics/inhomogeneous.h"

#include <cmath>
#include <cstdio>

#include "model/decimal.h"
#include "statistics/kernel_intensity.h"
#include "statistics/pcf_estimator.h"

namespace qlor {

namespace {

constexpr std::size_t kBanks = 4;

struct WeightedCall {
  const AnalysisState& state;
  const double* scale;
  PairScratch& scratch;
  // kBanks banks of bank_size slots: one per interval, and one beyond all.
  double* histogram_12;
  double* histogram_21;
  std::size_t bank_size;
};

template <int W>
[[gnu::always_inline]] inline void weighted_sums_variant(WeightedCall& call) {
  const AnalysisState& state = call.state;
  const bool bivariate = state.analysis_type == AnalysisType::kBivariate;
  const std::vector<double> t = interval_distances(state);
  if (t.empty()) return;
  const double reach = t.back();
  const double x_axis = state.x_axis;
  const double y_axis = state.y_axis;
  const double* scale = call.scale;
  PairScratch& scratch = call.scratch;
  IntervalFinder intervals(state, t);
  for_each_centre<W>(
      state.points, x_axis, y_axis, reach, bivariate, scratch,
      [&](const CentreCandidates& candidates) QLOR_INLINE_LAMBDA {
        const PointRecord& centre = candidates.centre;
        double* histogram = bivariate && centre.species != 0
                                ? call.histogram_21
                                : call.histogram_12;
        intervals.find<W>(candidates, scratch);
        const double centre_scale = scale[candidates.j];
        const double* edge = nullptr;
        if (!circle_inside(x_axis, y_axis, centre.x, centre.y, reach)) {
          const EdgeCentre edges(x_axis, y_axis, centre.x, centre.y, reach);
          edge_weights<W>(edges, candidates.d, candidates.count, scratch.edges);
          edge = scratch.edges.weights.data();
        }
        // Candidate q adds to bank q % kBanks: consecutive adds seldom
        // wait for each other's store.
        for (std::size_t q = 0; q < candidates.count; ++q) {
          const std::size_t k = candidates.point(q);
          if (k == candidates.j) continue;
          const double w = edge ? edge[q] : 1.0;
          histogram[(q % kBanks) * call.bank_size + intervals.first(q)] +=
              w * (centre_scale * scale[k]);
        }
      });
}

// The sums at every distance from the banks of the histogram of first
// distances.
void accumulate(const std::vector<double>& histogram, std::size_t bank_size,
                std::vector<double>& sums) {
  static_assert(kBanks == 4);
  const double* h = histogram.data();
  double running = 0;
  for (std::size_t i = 0; i < sums.size(); ++i) {
    running += (h[i] + h[bank_size + i]) +
               (h[2 * bank_size + i] + h[3 * bank_size + i]);
    sums[i] = running;
  }
}

// Bivariate K12 and K21, or g12 and g21, combined as the homogeneous ones.
double combine(const AnalysisState& state, double v12, double v21) {
  const double n1 = state.n_species1;
  const double n2 = state.n_species2;
  return (n2 * v12 + n1 * v21) / (n1 + n2);
}

}  // namespace

Status intensity_at_points(const AnalysisState& state,
                           const Intensity& intensity,
                           std::vector<double>& lambda) {
  const bool bivariate = state.analysis_type == AnalysisType::kBivariate;
  const auto& points = state.points;
  if (intensity.source == IntensitySource::kKernel) {
    kernel_intensity_at_points(points, bivariate, state.x_axis, state.y_axis,
                               intensity.sigma, lambda);
  } else {
    lambda.resize(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
      lambda[i] = grid_intensity(*intensity.grid,
                                 bivariate && points[i].species != 0 ? 1 : 0,
                                 points[i].x, points[i].y);
    }
  }
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (lambda[i] > 0 && std::isfinite(lambda[i])) continue;
    char where[128];
    std::snprintf(where, sizeof where, "point %zu (x = %.17g, y = %.17g)",
                  i + 1, points[i].x, points[i].y);
    if (intensity.source == IntensitySource::kKernel) {
      return std::string("the kernel estimate of the intensity is 0 at ") +
             where + ": no other point of its species lies within " +
             "reach of sigma " + shortest_decimal(intensity.sigma) +
             "; choose a larger sigma";
    }
    return intensity.path + ": the intensity is 0 at " + where +
           ", where the pattern has a point";
  }
  return {};
}

void weighted_pair_sums(const AnalysisState& state,
                        const std::vector<double>& scale, PairScratch& scratch,
                        std::vector<double>& sums_12,
                        std::vector<double>& sums_21, KernelIsa isa) {
  const auto n = static_cast<std::size_t>(state.last_interval) + 1;
  std::vector<double> histogram_12(kBanks * (n + 1), 0.0);
  std::vector<double> histogram_21(kBanks * (n + 1), 0.0);
  WeightedCall call{
      state, scale.data(), scratch, histogram_12.data(), histogram_21.data(),
      n + 1};
  run_kernel<weighted_sums_variant<2>, weighted_sums_variant<4>,
             weighted_sums_variant<8>>(isa, call);
  sums_12.assign(n, 0.0);
  sums_21.assign(n, 0.0);
  accumulate(histogram_12, n + 1, sums_12);
  accumulate(histogram_21, n + 1, sums_21);
}

void weighted_pair_sums(const AnalysisState& state,
                        const std::vector<double>& scale, PairScratch& scratch,
                        std::vector<double>& sums_12,
                        std::vector<double>& sums_21) {
  weighted_pair_sums(state, scale, scratch, sums_12, sums_21,
                     best_kernel_isa());
}

void compute_l_inhom(const AnalysisState& state,
                     const std::vector<double>& scale, PairScratch& scratch,
                     std::vector<double>& values) {
  std::vector<double> sums_12;
  std::vector<double> sums_21;
  weighted_pair_sums(state, scale, scratch, sums_12, sums_21);
  const bool bivariate = state.analysis_type == AnalysisType::kBivariate;
  const double area = state.x_axis * state.y_axis;
  values.resize(sums_12.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    const double k12 = sums_12[i] / area;
    const double k = bivariate ? combine(state, k12, sums_21[i] / area) : k12;
    values[i] = std::sqrt(k / kPi) - state.t_of(static_cast<std::int32_t>(i));
  }
}

void compute_g_inhom(const AnalysisState& state,
                     const std::vector<double>& scale, double h,
                     PairScratch& scratch, std::vector<double>& values) {
  std::vector<double> sums_12;
  std::vector<double> sums_21;
  pcf_kernel_sums(state, h, scale.data(), scratch, sums_12, sums_21,
                  best_kernel_isa());
  const bool bivariate = state.analysis_type == AnalysisType::kBivariate;
  const double area = state.x_axis * state.y_axis;
  values.resize(sums_12.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    const double denominator =
        2 * kPi * state.t_of(static_cast<std::int32_t>(i)) * area;
    const double g12 = sums_12[i] / denominator;
    values[i] = bivariate ? combine(state, g12, sums_21[i] / denominator) : g12;
  }
}

}  // namespace qlor
