// The pair correlation function. The kernel estimator shares the K
// estimator's pair loop and edge weights; the ring estimator is made of K's
// interval sums.
#include "statistics/pcf_estimator.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "statistics/kl_estimator.h"

namespace qlor {

namespace {

/// What every centre of a kernel estimate shares. The sums are padded with
/// `slots` entries on either side: each pair adds its kernel's values to
/// `slots` consecutive entries, from the first whose distance exceeds d - h,
/// without a branch. An entry outside the kernel's support gets +0, which
/// leaves a sum's bits as they are, and the padding is dropped.
struct KernelRun {
  double x_axis;
  double y_axis;
  double reach;  // t_max + h
  double h;
  double inverse_h;
  double scale;  // 3 / (4 h)
  double step;
  double inverse_step;
  std::int64_t first_step;  // the lattice step of padded entry 0
  std::int64_t slots;
  std::int64_t last_start;    // the highest entry a pair starts at
  const double* point_scale;  // by point: a factor of its pairs' terms, or null
};

/// Per-candidate scratch of one centre: the entry where each candidate's
/// values start, and the values, slot after slot (slot m of candidate q at
/// m * capacity + q).
struct KernelScratch {
  std::size_t capacity = 0;
  std::vector<double> first;        // the start entry, as a whole number
  std::vector<std::int32_t> start;  // the same as an index
  std::vector<double> values;
  std::vector<std::int32_t> place;  // by partner: its candidate
  std::vector<double> weights;      // by candidate: edge weight times scales
};

/// The kernel values of a centre's candidates q < count, each weighted by
/// its edge weight (1 without `weights`): loops over the candidates without
/// branches, slot after slot, which the compiler vectorises. The distance
/// of padded entry e is the lattice product (e + first_step) * step, the
/// very product that forms the run's distances.
[[gnu::always_inline]] inline void kernel_values(const KernelRun& run,
                                                 const double* d,
                                                 const double* weights,
                                                 std::size_t count,
                                                 KernelScratch& k) {
  // The run's numbers as locals: the stores below could otherwise alias
  // them, and every iteration would load them again.
  const double h = run.h;
  const double lattice_step = run.step;
  const double inverse_step = run.inverse_step;
  const double inverse_h = run.inverse_h;
  const double scale = run.scale;
  const double lowest = 0.0;
  const auto highest = static_cast<double>(run.last_start);
  const auto first_step = static_cast<double>(run.first_step);
  double* first = k.first.data();
  std::int32_t* start = k.start.data();
  for (std::size_t q = 0; q < count; ++q) {
    // The lattice step at or below d - h, guessed from the quotient and
    // settled against the lattice products themselves; the first entry is
    // the one above it.
    const double below = d[q] - h;
    double step = std::floor(below * inverse_step);
    step = step * lattice_step > below ? step - 1 : step;
    step = (step + 1) * lattice_step <= below ? step + 1 : step;
    first[q] = std::min(std::max(step + 1 - first_step, lowest), highest);
  }
  for (std::size_t q = 0; q < count; ++q) {
    start[q] = static_cast<std::int32_t>(first[q]);
  }
  for (std::int64_t m = 0; m < run.slots; ++m) {
    double* values = k.values.data() + static_cast<std::size_t>(m) * k.capacity;
    const double offset = static_cast<double>(m) + first_step;
    if (weights) {
      for (std::size_t q = 0; q < count; ++q) {
        const double u =
            ((first[q] + offset) * lattice_step - d[q]) * inverse_h;
        values[q] = scale * std::max(0.0, 1.0 - u * u) * weights[q];
      }
    } else {
      for (std::size_t q = 0; q < count; ++q) {
        const double u =
            ((first[q] + offset) * lattice_step - d[q]) * inverse_h;
        values[q] = scale * std::max(0.0, 1.0 - u * u) * 1.0;
      }
    }
  }
}

template <int W>
[[gnu::always_inline]] inline void kernel_sums(
    const AnalysisState& state, const KernelRun& run, PairScratch& scratch,
    KernelScratch& kernel, double* sums_12, double* sums_21) {
  const bool bivariate = state.analysis_type == AnalysisType::kBivariate;
  const auto slots = static_cast<std::size_t>(run.slots);
  for_each_centre<W>(
      state.points, run.x_axis, run.y_axis, run.reach, bivariate, scratch,
      [&](const CentreCandidates& candidates) QLOR_INLINE_LAMBDA {
        const PointRecord& centre = candidates.centre;
        double* sums = bivariate && centre.species != 0 ? sums_21 : sums_12;
        const double* candidate_weight = nullptr;
        if (!circle_inside(run.x_axis, run.y_axis, centre.x, centre.y,
                           run.reach)) {
          const EdgeCentre edges(run.x_axis, run.y_axis, centre.x, centre.y,
                                 run.reach);
          edge_weights<W>(edges, candidates.d, candidates.count, scratch.edges);
          candidate_weight = scratch.edges.weights.data();
        }
        if (run.point_scale) {
          // Each candidate's edge weight times the scales of its pair.
          const double centre_scale = run.point_scale[candidates.j];
          double* weights = kernel.weights.data();
          for (std::size_t q = 0; q < candidates.count; ++q) {
            const double edge = candidate_weight ? candidate_weight[q] : 1.0;
            weights[q] =
                edge * (centre_scale * run.point_scale[candidates.point(q)]);
          }
          candidate_weight = weights;
        }
        kernel_values(run, candidates.d, candidate_weight, candidates.count,
                      kernel);
        std::int32_t* place = kernel.place.data();
        PartnerMarks partners =
            mark_partners(candidates, scratch.marks,
                          [&](std::size_t k, std::size_t q) QLOR_INLINE_LAMBDA {
                            place[k] = static_cast<std::int32_t>(q);
                            return true;
                          });
        // In ascending partner index: each entry adds its pairs in the
        // order of the all-pairs loop.
        const std::int32_t* start = kernel.start.data();
        const double* values = kernel.values.data();
        const std::size_t capacity = kernel.capacity;
        partners.drain([&](std::size_t k) QLOR_INLINE_LAMBDA {
          const auto q = static_cast<std::size_t>(place[k]);
          double* s = sums + start[q];
          for (std::size_t m = 0; m < slots; ++m) {
            s[m] += values[m * capacity + q];
          }
        });
      });
}

struct KernelSumsCall {
  const AnalysisState& state;
  const KernelRun& run;
  PairScratch& scratch;
  KernelScratch& kernel;
  double* sums_12;
  double* sums_21;
};

template <int W>
[[gnu::always_inline]] inline void kernel_sums_variant(KernelSumsCall& call) {
  kernel_sums<W>(call.state, call.run, call.scratch, call.kernel, call.sums_12,
                 call.sums_21);
}

/// The species counts of the pattern's pair sums: n and n for a univariate
/// pattern, n1 and n2 for a bivariate one.
struct PairCounts {
  double centres_12;   // n1 (univariate: n)
  double partners_12;  // n2 (univariate: n)
  bool bivariate;
};

PairCounts pair_counts(const AnalysisState& state) {
  if (state.analysis_type != AnalysisType::kBivariate) {
    const double n = state.n_points;
    return {n, n, false};
  }
  return {static_cast<double>(state.n_species1),
          static_cast<double>(state.n_species2), true};
}

/// Combines g12 and g21 (or O12 and O21) as K is combined.
double combine(const PairCounts& c, double v12, double v21) {
  return (c.partners_12 * v12 + c.centres_12 * v21) /
         (c.centres_12 + c.partners_12);
}

/// g, or O, at every distance from the species' g12 and g21 (univariate:
/// g12 alone).
void finish(const AnalysisState& state, const PairCounts& c, bool o_ring,
            const std::vector<double>& g12, const std::vector<double>& g21,
            std::vector<double>& values) {
  const double area = state.x_axis * state.y_axis;
  // The densities of the partners: species 2 around species 1, and back.
  const double lambda_12 = o_ring ? c.partners_12 / area : 1.0;
  const double lambda_21 = o_ring ? c.centres_12 / area : 1.0;
  values.resize(g12.size());
  for (std::size_t i = 0; i < g12.size(); ++i) {
    values[i] = c.bivariate ? combine(c, lambda_12 * g12[i], lambda_21 * g21[i])
                            : lambda_12 * g12[i];
  }
}

}  // namespace

void pcf_kernel_sums(const AnalysisState& state, double h, PairScratch& scratch,
                     std::vector<double>& sums_12, std::vector<double>& sums_21,
                     KernelIsa isa) {
  pcf_kernel_sums(state, h, nullptr, scratch, sums_12, sums_21, isa);
}

void pcf_kernel_sums(const AnalysisState& state, double h, const double* scale,
                     PairScratch& scratch, std::vector<double>& sums_12,
                     std::vector<double>& sums_21, KernelIsa isa) {
  const std::vector<double> t = interval_distances(state);
  sums_12.assign(t.size(), 0.0);
  sums_21.assign(t.size(), 0.0);
  if (t.empty() || !(h > 0)) return;
  // A pair's support (d - h, d + h) holds at most 2h / step + 1 lattice
  // steps.
  const auto slots =
      static_cast<std::int64_t>(std::floor(2 * h / state.t_interval)) + 1;
  const auto n = static_cast<std::int64_t>(t.size());
  std::vector<double> padded_12(static_cast<std::size_t>(n + 2 * slots), 0.0);
  std::vector<double> padded_21(padded_12.size(), 0.0);
  const KernelRun run{state.x_axis,
                      state.y_axis,
                      t.back() + h,
                      h,
                      1.0 / h,
                      0.75 / h,
                      state.t_interval,
                      1.0 / state.t_interval,
                      state.t_min_steps - slots,
                      slots,
                      n + slots,
                      scale};
  KernelScratch kernel;
  kernel.capacity = state.points.size();
  kernel.first.resize(kernel.capacity);
  kernel.start.resize(kernel.capacity);
  kernel.values.resize(kernel.capacity * static_cast<std::size_t>(slots));
  kernel.place.resize(kernel.capacity);
  if (scale) kernel.weights.resize(kernel.capacity);
  KernelSumsCall call{state,           run, scratch, kernel, padded_12.data(),
                      padded_21.data()};
  run_kernel<kernel_sums_variant<2>, kernel_sums_variant<4>,
             kernel_sums_variant<8>>(isa, call);
  std::copy_n(padded_12.begin() + slots, n, sums_12.begin());
  std::copy_n(padded_21.begin() + slots, n, sums_21.begin());
}

void pcf_kernel_sums(const AnalysisState& state, double h, PairScratch& scratch,
                     std::vector<double>& sums_12,
                     std::vector<double>& sums_21) {
  pcf_kernel_sums(state, h, scratch, sums_12, sums_21, best_kernel_isa());
}

void compute_pcf_kernel(AnalysisState& state, double h, bool o_ring,
                        PairScratch& scratch, std::vector<double>& values) {
  std::vector<double> g12;
  std::vector<double> g21;
  pcf_kernel_sums(state, h, scratch, g12, g21);
  const PairCounts c = pair_counts(state);
  const double area = state.x_axis * state.y_axis;
  for (std::size_t i = 0; i < g12.size(); ++i) {
    const double denominator = 2 * kPi *
                               state.t_of(static_cast<std::int32_t>(i)) *
                               c.centres_12 * c.partners_12;
    g12[i] = area * g12[i] / denominator;
    g21[i] = area * g21[i] / denominator;
  }
  finish(state, c, o_ring, g12, g21, values);
}

void compute_pcf_ring(AnalysisState& state, bool o_ring, PairScratch& scratch,
                      std::vector<double>& values) {
  // K at the run's distances and, unless it is 0, at the one before the
  // first: an estimate with the intervals widened by one at the front adds
  // the same weights in the same order.
  const bool from_zero = state.t_min_steps <= 1;
  AnalysisState wide = state;
  if (!from_zero) {
    wide.t_min_steps -= 1;
    wide.last_interval += 1;
    if (!allocate_result_arrays(wide, Direction::kNone).ok()) {
      throw std::bad_alloc();
    }
  }
  compute_kl(wide, scratch);
  const PairCounts c = pair_counts(state);
  const double area = state.x_axis * state.y_axis;
  const auto& s12 = c.bivariate ? wide.pair_sums_12 : wide.pair_sums;
  const auto& s21 = wide.pair_sums_21;
  const std::size_t offset = from_zero ? 0 : 1;
  const auto n = static_cast<std::size_t>(state.last_interval) + 1;
  std::vector<double> g12(n);
  std::vector<double> g21(n);
  auto k_at = [&](const std::vector<double>& sums, std::size_t i) {
    return area * sums[i] / (c.centres_12 * c.partners_12);
  };
  for (std::size_t i = 0; i < n; ++i) {
    const double t = state.t_of(static_cast<std::int32_t>(i));
    const double t_before = state.t_of(static_cast<std::int32_t>(i) - 1);
    const double ring = kPi * (t * t - t_before * t_before);
    const bool first = i == 0 && from_zero;
    const double k12_before = first ? 0.0 : k_at(s12, i + offset - 1);
    g12[i] = (k_at(s12, i + offset) - k12_before) / ring;
    if (c.bivariate) {
      const double k21_before = first ? 0.0 : k_at(s21, i + offset - 1);
      g21[i] = (k_at(s21, i + offset) - k21_before) / ring;
    }
  }
  finish(state, c, o_ring, g12, g21, values);
}

double largest_bandwidth(const RunParameters& parameters) {
  return std::min(parameters.x_axis, parameters.y_axis) / 2 -
         parameters.t_of(parameters.last_interval);
}

double default_bandwidth(const RunParameters& parameters) {
  const double lambda =
      parameters.n_points / (parameters.x_axis * parameters.y_axis);
  return 0.15 / std::sqrt(lambda);
}

}  // namespace qlor
