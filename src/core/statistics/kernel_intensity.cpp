// Sums of Gaussian kernel terms in eight fixed lanes: lane l adds the terms
// of partners l, l + 8, l + 16, ..., and the lanes are added in one fixed
// tree, so that two, four or eight lanes to a register give the same bits.
#include "statistics/kernel_intensity.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "model/intensity.h"

namespace qlor {

namespace {

constexpr std::size_t kLanes = 8;

// e^a by a = k ln 2 + r, |r| <= ln 2 / 2: 2^k from the exponent bits and
// e^r by Taylor's polynomial to degree 13 (its remainder is below 2^-55
// relative). Branch-free, so that the compiler vectorises the callers.
[[gnu::always_inline]] inline double exp_of(double a) {
  constexpr double kLog2e = 1.4426950408889634074;
  constexpr double kLn2High = 0.693147180369123816490;  // 32 bits of ln 2
  constexpr double kLn2Low = 1.90821492927058770002e-10;
  constexpr double kRound = 6755399441055744.0;  // 1.5 * 2^52
  const double shifted = a * kLog2e + kRound;
  const double k = shifted - kRound;  // a / ln 2 rounded to an integer
  const double r = (a - k * kLn2High) - k * kLn2Low;
  double p = 1.0 / 6227020800.0;  // 1 / 13!
  p = p * r + 1.0 / 479001600.0;
  p = p * r + 1.0 / 39916800.0;
  p = p * r + 1.0 / 3628800.0;
  p = p * r + 1.0 / 362880.0;
  p = p * r + 1.0 / 40320.0;
  p = p * r + 1.0 / 5040.0;
  p = p * r + 1.0 / 720.0;
  p = p * r + 1.0 / 120.0;
  p = p * r + 1.0 / 24.0;
  p = p * r + 1.0 / 6.0;
  p = p * r + 0.5;
  p = p * r + 1.0;
  p = p * r + 1.0;
  // 2^k: k + 1023 in the exponent field (k >= -57 here, a normal number).
  const auto bits = (std::bit_cast<std::uint64_t>(shifted) + 1023u) << 52;
  return p * std::bit_cast<double>(bits);
}

// One species' points, padded to whole lanes with points so far away that
// their terms are left out.
struct SpeciesPoints {
  std::vector<double> x;
  std::vector<double> y;
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

// The sum of the kernel terms exp(-d^2 / (2 sigma^2)) of point q of `s`
// with every other point of `s`, in the fixed lanes.
[[gnu::always_inline]] inline double kernel_sum(const SpeciesPoints& s,
                                                std::size_t q,
                                                double inverse_two_var) {
  const double x = s.x[q];
  const double y = s.y[q];
  const double* xs = s.x.data();
  const double* ys = s.y.data();
  const std::size_t m = s.x.size();
  double lane[kLanes] = {};
  for (std::size_t j = 0; j < m; j += kLanes) {
    for (std::size_t l = 0; l < kLanes; ++l) {
      const std::size_t k = j + l;
      const double dx = xs[k] - x;
      const double dy = ys[k] - y;
      const double a = -(dx * dx + dy * dy) * inverse_two_var;
      const bool counts = k != q && a > -kKernelCutoffExponent;
      lane[l] += counts ? exp_of(a) : 0.0;
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

template <int W>
[[gnu::always_inline]] inline void sums_variant(IntensityCall& call) {
  for (std::size_t q = 0; q < call.points.count; ++q) {
    call.sums[q] = kernel_sum(call.points, q, call.inverse_two_var);
  }
}

}  // namespace

double kernel_exp(double a) { return exp_of(a); }

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
