// Allocation and release of the per-run arrays.
#include "analysis/analysis_state.h"

#include <unistd.h>

#include <bit>
#include <limits>

namespace qlor {

std::size_t PositionHash::operator()(
    const std::pair<double, double>& p) const noexcept {
  const auto bits = [](double v) {
    return v == 0.0 ? 0ull : std::bit_cast<unsigned long long>(v);
  };
  unsigned long long h = bits(p.first) * 0x9E3779B97F4A7C15ull;
  h ^= bits(p.second) + 0x7F4A7C159E3779B9ull + (h << 6) + (h >> 2);
  return static_cast<std::size_t>(h ^ (h >> 29));
}

bool fits_in_memory(std::size_t n, std::size_t size) {
  // Linux hands out address space freely and kills the process when the
  // pages are touched; an array larger than the machine's memory is treated
  // as a failed allocation up front.
  static const std::size_t physical = [] {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long page_size = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || page_size <= 0) return std::numeric_limits<std::size_t>::max();
    return static_cast<std::size_t>(pages) * static_cast<std::size_t>(page_size);
  }();
  if (size == 0) return true;
  return n <= physical / size;
}

std::string allocate_result_arrays(AnalysisState& state,
                                   std::int32_t direction_index) {
  const auto n = static_cast<std::size_t>(state.last_interval) + 1;
  constexpr const char* kTag = "MAF:2";
  if (direction_index == 0) {
    if (auto s = allocate(state.l_values, n, kTag); !s.empty()) return s;
    if (state.analysis_type == 1) return allocate(state.pair_sums, n, kTag);
    for (auto* v : {&state.pair_sums_12, &state.pair_sums_21, &state.k12,
                    &state.k21}) {
      if (auto s = allocate(*v, n, kTag); !s.empty()) return s;
    }
    return {};
  }
  for (auto* table : {&state.sector_sums_12, &state.sector_sums_21,
                      &state.sector_k12, &state.sector_k21,
                      &state.sector_l_values}) {
    for (auto& v : *table) {
      if (auto s = allocate(v, n, kTag); !s.empty()) return s;
    }
  }
  return {};
}

void release_run_arrays(AnalysisState& state) {
  for (auto* v : {&state.l_values, &state.pair_sums, &state.pair_sums_12,
                  &state.pair_sums_21, &state.k12, &state.k21,
                  &state.poisson_table}) {
    std::vector<double>().swap(*v);
  }
  for (auto* table : {&state.sector_sums_12, &state.sector_sums_21,
                      &state.sector_k12, &state.sector_k21,
                      &state.sector_l_values}) {
    for (auto& v : *table) std::vector<double>().swap(v);
  }
  std::vector<std::int32_t>().swap(state.offspring_counts);
  std::vector<PointRecord>().swap(state.points);
}

}  // namespace qlor
