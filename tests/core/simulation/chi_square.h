// Goodness of fit for the tests of the generators and samplers.
#pragma once

#include <cmath>
#include <vector>

namespace qlor::testing {

// How far a chi-square statistic with `df` degrees of freedom lies above
// its mean, in standard deviations (Wilson-Hilferty: the cube root of
// X / df is close to normal).
inline double chi_square_z(double x, double df) {
  const double v = 2.0 / (9.0 * df);
  return (std::cbrt(x / df) - (1.0 - v)) / std::sqrt(v);
}

// Pearson's statistic of observed counts against expected ones, bins with
// fewer than 5 expected pooled into their neighbour.
struct ChiSquare {
  double statistic = 0;
  double df = 0;
};
inline ChiSquare pearson(const std::vector<double>& observed,
                         const std::vector<double>& expected) {
  ChiSquare c;
  double o = 0;
  double e = 0;
  int bins = 0;
  for (std::size_t i = 0; i < observed.size(); ++i) {
    o += observed[i];
    e += expected[i];
    if (e >= 5 || i + 1 == observed.size()) {
      c.statistic += (o - e) * (o - e) / e;
      ++bins;
      o = 0;
      e = 0;
    }
  }
  c.df = bins - 1;
  return c;
}

}  // namespace qlor::testing
