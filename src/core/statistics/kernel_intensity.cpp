// Sums of Gaussian kernel terms, each pair's term found once. A point's
// terms with the points after it go to eight fixed lanes (lane l adds the
// terms of partners l, l + 8, l + 16, ...) added in one fixed tree; its
// terms with the points before it are added one by one in ascending order,
// as each earlier point passes. Two, four or eight lanes to a register give
// the same bits.
#include "statistics/kernel_intensity.h"

#include <cmath>
#include <cstdint>
#include <new>
#include <numbers>

#include "model/fixed_math.h"
#include "model/intensity.h"

namespace qlor {

namespace {

constexpr std::size_t kLanes = 8;

// Storage on whole cache lines, so that no vector of eight straddles two.
template <class T>
struct LineAllocator {
  using value_type = T;
  LineAllocator() = default;
  template <class U>
  explicit LineAllocator(const LineAllocator<U>&) {}
  T* allocate(std::size_t n) {
    return static_cast<T*>(
        ::operator new (n * sizeof(T), std::align_val_t{64}));
  }
  void deallocate(T* p, std::size_t) {
    ::operator delete (p, std::align_val_t{64});
  }
  friend bool operator==(const LineAllocator&, const LineAllocator&) {
    return true;
  }
};
using Lanes = std::vector<double, LineAllocator<double>>;

// One species' points, padded to whole lanes with points so far away that
// their terms are left out.
struct SpeciesPoints {
  Lanes x;
  Lanes y;
  std::vector<std::size_t> index;  // in the pattern
  std::size_t count = 0;           // the real ones

  void pad() {
    count = x.size();
    while (x.size() % kLanes != 0) {
      x.push_back(1e150);
      y.push_back(1e150);
    }
  }
};

// Adds the kernel terms exp(-d^2 / (2 sigma^2)) of point q with every later
// point k > q of `s`: to q's own sum, in the fixed lanes, and to each k's
// column sum, which so gathers the terms of k with the points before it in
// ascending order. Each term is found once for its pair.
[[gnu::always_inline]] inline double later_terms(const SpeciesPoints& s,
                                                 std::size_t q,
                                                 double inverse_two_var,
                                                 double* __restrict column) {
  const double x = s.x[q];
  const double y = s.y[q];
  const double* __restrict xs = s.x.data();
  const double* __restrict ys = s.y.data();
  const std::size_t m = s.x.size();
  double lane[kLanes] = {};
  for (std::size_t j = (q + 1) / kLanes * kLanes; j < m; j += kLanes) {
    for (std::size_t l = 0; l < kLanes; ++l) {
      const std::size_t k = j + l;
      const double dx = xs[k] - x;
      const double dy = ys[k] - y;
      const double a = -(dx * dx + dy * dy) * inverse_two_var;
      const bool counts = k > q && a > -kKernelCutoffExponent;
      const double term = counts ? fixed_exp(a) : 0.0;
      lane[l] += term;
      column[k] += term;
    }
  }
  return ((lane[0] + lane[1]) + (lane[2] + lane[3])) +
         ((lane[4] + lane[5]) + (lane[6] + lane[7]));
}

struct IntensityCall {
  const SpeciesPoints& points;
  double inverse_two_var;
  double* sums;
};

// sums[q] = (the terms of q with the later points) + (the terms of q with
// the earlier ones).
template <int W>
[[gnu::always_inline]] inline void sums_variant(IntensityCall& call) {
  Lanes column(call.points.x.size(), 0.0);
  for (std::size_t q = 0; q < call.points.count; ++q) {
    const double later =
        later_terms(call.points, q, call.inverse_two_var, column.data());
    call.sums[q] = later + column[q];
  }
}

}  // namespace

double kernel_exp(double a) { return fixed_exp(a); }

void kernel_intensity_at_points(const std::vector<PointRecord>& points,
                                bool by_species, double x_axis, double y_axis,
                                double sigma, std::vector<double>& lambda,
                                KernelIsa isa) {
  lambda.assign(points.size(), 0.0);
  const double inverse_two_var = 1.0 / (2.0 * sigma * sigma);
  const double norm = 1.0 / (2.0 * std::numbers::pi * sigma * sigma);
  for (int key = 0; key < (by_species ? 2 : 1); ++key) {
    SpeciesPoints s;
    for (std::size_t i = 0; i < points.size(); ++i) {
      if (by_species && points[i].species != key) continue;
      s.x.push_back(points[i].x);
      s.y.push_back(points[i].y);
      s.index.push_back(i);
    }
    s.pad();
    std::vector<double> sums(s.count);
    IntensityCall call{s, inverse_two_var, sums.data()};
    run_kernel<sums_variant<2>, sums_variant<4>, sums_variant<8>>(isa, call);
    for (std::size_t q = 0; q < s.count; ++q) {
      lambda[s.index[q]] =
          norm * sums[q] / edge_mass(s.x[q], s.y[q], x_axis, y_axis, sigma);
    }
  }
}

void kernel_intensity_at_points(const std::vector<PointRecord>& points,
                                bool by_species, double x_axis, double y_axis,
                                double sigma, std::vector<double>& lambda) {
  kernel_intensity_at_points(points, by_species, x_axis, y_axis, sigma, lambda,
                             best_kernel_isa());
}

}  // namespace qlor
