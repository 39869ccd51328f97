// Poisson probabilities of the offspring counts of the cluster process.
#pragma once

#include <cstdint>
#include <vector>

namespace qlor {

/// Sets table[k] = mu^k / k! * e^-mu for k = 0 .. n_max (table holds at
/// least n_max + 1 entries). An entry that this formula makes infinite or
/// not a number (mu^k or k! beyond the double range) is computed as
/// exp(k log mu - (log 1 + ... + log k) - mu) instead; finite entries keep
/// the plain formula.
void fill_poisson_table(std::vector<double>& table, double mu,
                        std::int32_t n_max);

}  // namespace qlor
