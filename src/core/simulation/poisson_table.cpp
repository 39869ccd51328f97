// The Poisson table, with a log-space fallback for the entries whose power
// or factorial leaves the double range.
#include "simulation/poisson_table.h"

#include <cassert>
#include <cmath>

namespace qlor {

void fill_poisson_table(std::vector<double>& table, double mu,
                        std::int32_t n_max) {
  assert(n_max >= 0 && table.size() > static_cast<std::size_t>(n_max));
  const double e_mu = std::exp(-mu);
  const double log_mu = std::log(mu);
  // k! and log 1 + ... + log k kept as running values: each step adds the
  // same operation in the same order as a fresh product or sum would.
  double factorial = 1.0;
  double log_factorial = 0.0;
  for (std::int32_t k = 0; k <= n_max; ++k) {
    if (k > 0) {
      factorial *= k;
      log_factorial += std::log(static_cast<double>(k));
    }
    const double kk = static_cast<double>(k);
    double p = std::pow(mu, kk) / factorial * e_mu;
    // Without this, large means leave no entry near their mode that a count
    // draw could keep, and the count sweeps never end.
    if (!std::isfinite(p)) p = std::exp(kk * log_mu - log_factorial - mu);
    table[static_cast<std::size_t>(k)] = p;
  }
}

}  // namespace qlor
