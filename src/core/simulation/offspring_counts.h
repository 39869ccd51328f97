// The offspring counts of the cluster process: sweeps over the centres, each
// centre's count drawn from the Poisson table by acceptance, until a sweep's
// counts add up to the offspring to place.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "simulation/lcg_random.h"

namespace qlor {

/// How the sweeps find, in a block of draws made ahead, the counts that are
/// followed by an acceptance draw: through a table of all draw values (any
/// processor), or eight draws at a time with AVX2 when those counts form
/// one range. Both give the same counts from the same draws.
enum class CountScan { kTable, kAvx2 };

/// The scans this processor runs, kTable first.
[[nodiscard]] std::vector<CountScan> available_count_scans();

/// Sweeps over `counts` (one entry per centre, at least one) until their
/// sum is n_offspring (> 0), at most max_sweeps times. A centre's count is
/// k = rng.draw_mod(n_offspring + 1), drawn again until kept with
/// probability table[k] (the acceptance draw of acceptance.h; table holds
/// at least n_offspring + 1 entries). Leaves the last sweep's counts in
/// `counts` and `rng` after the last draw made; false when no sweep within
/// the bound adds up, or at once, without a draw, when the table can keep
/// no count at all. Uses the fastest scan of the processor.
[[nodiscard]] bool draw_offspring_counts(std::span<std::int32_t> counts,
                                         const std::vector<double>& table,
                                         std::int32_t n_offspring,
                                         std::int64_t max_sweeps,
                                         LcgRandom& rng);

/// The same with a given scan (one of available_count_scans()).
[[nodiscard]] bool draw_offspring_counts(std::span<std::int32_t> counts,
                                         const std::vector<double>& table,
                                         std::int32_t n_offspring,
                                         std::int64_t max_sweeps,
                                         LcgRandom& rng, CountScan scan);

}  // namespace qlor
