// Count sweeps over blocks of draws made ahead. Most draws are counts whose
// table entry refuses without an acceptance draw, so each block first marks,
// branch-free, the draws that are counts with an acceptance draw, and the
// sweeps visit only those: the draws, the order in which they are used and
// the counts kept are those of drawing one by one.
#include "simulation/offspring_counts.h"

#include <immintrin.h>

#include <array>
#include <bit>
#include <cassert>
#include <cstddef>

#include "simulation/acceptance.h"
#include "simulation/lcg_stream.h"

namespace qlor {

namespace {

constexpr std::int32_t kDrawValues = LcgRandom::kMax + 1;
constexpr std::size_t kBlock = 2048;

// One centre's count, drawing one by one.
std::int32_t draw_count(const std::vector<double>& table, std::int32_t n_counts,
                        LcgRandom& rng) {
  for (;;) {
    const std::int32_t k = rng.draw_mod(n_counts);
    if (draw_acceptance(table[static_cast<std::size_t>(k)], rng)) return k;
  }
}

// Above kDrawValues possible counts a count takes two draws; these sweeps
// draw one by one.
bool draw_counts_one_by_one(std::span<std::int32_t> counts,
                            const std::vector<double>& table,
                            std::int32_t n_offspring, std::int64_t max_sweeps,
                            LcgRandom& rng) {
  for (std::int64_t sweep = 0; sweep < max_sweeps; ++sweep) {
    std::int64_t sum = 0;
    for (auto& count : counts) {
      count = draw_count(table, n_offspring + 1, rng);
      sum += count;
    }
    if (sum == n_offspring) return true;
  }
  return false;
}

// The counts k (0 .. n_counts - 1) whose table entry has an acceptance
// modulus, as a table over all draw values (k = draw mod n_counts) and, when
// they are consecutive, as the range first .. last.
class CountsWithAcceptance {
 public:
  CountsWithAcceptance(const std::vector<double>& table,
                       std::int32_t n_counts) {
    assert(n_counts >= 1 && n_counts <= kDrawValues);
    std::int32_t n = 0;
    for (std::int32_t d = 0; d < kDrawValues; ++d) {
      bool has = false;
      if (d < n_counts) {
        has = acceptance_modulus(table[static_cast<std::size_t>(d)]) != 0;
        if (has && n++ == 0) first = d;
        if (has) last = d;
      } else {
        has = contains(d - n_counts) != 0;
      }
      bits_[static_cast<std::size_t>(d) / 64] |= static_cast<std::uint64_t>(has)
                                                 << (d % 64);
    }
    is_empty = n == 0;
    is_range = !is_empty && n == last - first + 1;
  }
  [[nodiscard]] std::uint32_t contains(std::int32_t draw) const {
    const auto d = static_cast<std::uint32_t>(draw);
    return static_cast<std::uint32_t>(bits_[d / 64] >> (d % 64)) & 1u;
  }

  std::int32_t first = 0;
  std::int32_t last = -1;
  bool is_empty = true;
  bool is_range = false;

 private:
  std::array<std::uint64_t, kDrawValues / 64> bits_{};
};

// A block of draws made ahead: states[i] is the state after draw i of the
// block (one more for an acceptance draw that follows the block's last
// count), bit i of the marks set when draw i, taken as a count, has an
// acceptance draw.
struct DrawBlock {
  std::array<std::uint32_t, kBlock + 1> states;
  std::array<std::uint64_t, kBlock / 64> marks;
};

void mark_by_table(DrawBlock& block, const CountsWithAcceptance& counts,
                   std::uint32_t state) {
  fill_lcg_states(state, block.states);
  for (std::size_t w = 0; w < block.marks.size(); ++w) {
    std::uint64_t marks = 0;
    for (std::size_t b = 0; b < 64; ++b) {
      const std::uint32_t s = block.states[w * 64 + b];
      marks |= static_cast<std::uint64_t>(counts.contains(draw_of_state(s)))
               << b;
    }
    block.marks[w] = marks;
  }
}

// Four vectors of eight lanes, 32 consecutive draws per step; each lane
// jumps 32 draws ahead.
constexpr std::size_t kAvx2Step = 32;
constexpr LcgJump kAvx2Jump = lcg_jump(kAvx2Step);

__attribute__((target("avx2"))) void mark_by_range_avx2(
    DrawBlock& block, const CountsWithAcceptance& counts,
    const DrawDivisor& divisor, std::uint32_t state) {
  fill_lcg_states(state, std::span(block.states).first(kAvx2Step));
  // Lanes hold the 32-bit patterns of unsigned values.
  const __m256i multiplier =
      _mm256_set1_epi32(static_cast<int>(kAvx2Jump.multiplier));
  const __m256i increment =
      _mm256_set1_epi32(static_cast<int>(kAvx2Jump.increment));
  const __m256i low15 = _mm256_set1_epi32(0x7fff);
  const __m256i div_multiplier =
      _mm256_set1_epi32(static_cast<int>(divisor.multiplier));
  const __m256i div_divisor =
      _mm256_set1_epi32(static_cast<int>(divisor.divisor));
  const __m128i div_shift = _mm_cvtsi32_si128(static_cast<int>(divisor.shift));
  const __m256i below_first = _mm256_set1_epi32(counts.first - 1);
  const __m256i above_last = _mm256_set1_epi32(counts.last + 1);
  __m256i v[4];
  auto* out = reinterpret_cast<__m256i*>(block.states.data());
  for (int t = 0; t < 4; ++t) v[t] = _mm256_loadu_si256(out + t);
  for (std::size_t step = 0; step < kBlock / kAvx2Step; ++step) {
    std::uint32_t marks = 0;
    for (int t = 0; t < 4; ++t) {
      if (step > 0) {
        v[t] =
            _mm256_add_epi32(_mm256_mullo_epi32(v[t], multiplier), increment);
        _mm256_storeu_si256(out + 4 * step + static_cast<std::size_t>(t), v[t]);
      }
      const __m256i d = _mm256_and_si256(_mm256_srli_epi32(v[t], 16), low15);
      const __m256i q =
          _mm256_srl_epi32(_mm256_mullo_epi32(d, div_multiplier), div_shift);
      const __m256i k = _mm256_sub_epi32(d, _mm256_mullo_epi32(q, div_divisor));
      const __m256i in = _mm256_and_si256(_mm256_cmpgt_epi32(k, below_first),
                                          _mm256_cmpgt_epi32(above_last, k));
      marks |= static_cast<std::uint32_t>(
                   _mm256_movemask_ps(_mm256_castsi256_ps(in)))
               << (8 * t);
    }
    std::uint64_t& word = block.marks[step / 2];
    if (step % 2 == 0) word = 0;
    word |= static_cast<std::uint64_t>(marks) << (32 * (step % 2));
  }
  block.states[kBlock] =
      block.states[kBlock - 1] * LcgRandom::kMultiplier + LcgRandom::kIncrement;
}

// The sweeps' progress: the centre whose count is drawn next and the sum of
// the counts kept in this sweep.
struct Sweeps {
  std::span<std::int32_t> counts;
  std::int32_t n_offspring;
  std::int64_t max_sweeps;
  std::size_t centre = 0;
  std::int64_t sum = 0;
  std::int64_t sweep = 0;

  // Keeps k for the current centre; true when the sweeps are over (a sweep
  // added up, or the last permitted sweep did not), `added_up` saying which.
  bool keep(std::int32_t k, bool& added_up) {
    counts[centre] = k;
    sum += k;
    if (++centre < counts.size()) return false;
    added_up = sum == n_offspring;
    if (added_up || ++sweep == max_sweeps) return true;
    centre = 0;
    sum = 0;
    return false;
  }
};

}  // namespace

std::vector<CountScan> available_count_scans() {
  std::vector<CountScan> scans{CountScan::kTable};
  if (__builtin_cpu_supports("avx2")) scans.push_back(CountScan::kAvx2);
  return scans;
}

bool draw_offspring_counts(std::span<std::int32_t> counts,
                           const std::vector<double>& table,
                           std::int32_t n_offspring, std::int64_t max_sweeps,
                           LcgRandom& rng) {
  static const CountScan fastest = available_count_scans().back();
  return draw_offspring_counts(counts, table, n_offspring, max_sweeps, rng,
                               fastest);
}

bool draw_offspring_counts(std::span<std::int32_t> counts,
                           const std::vector<double>& table,
                           std::int32_t n_offspring, std::int64_t max_sweeps,
                           LcgRandom& rng, CountScan scan) {
  assert(!counts.empty() && n_offspring > 0 && max_sweeps > 0);
  const std::int32_t n_counts = n_offspring + 1;
  if (n_counts > kDrawValues) {
    return draw_counts_one_by_one(counts, table, n_offspring, max_sweeps, rng);
  }
  const CountsWithAcceptance with_acceptance(table, n_counts);
  // Drawing one by one would never end.
  if (with_acceptance.is_empty) return false;
  const bool by_range = scan == CountScan::kAvx2 && with_acceptance.is_range;
  const DrawDivisor divisor = DrawDivisor::of(n_counts);
  Sweeps sweeps{counts, n_offspring, max_sweeps};
  DrawBlock block;
  std::uint32_t state = rng.state();
  std::size_t next = 0;  // the block's first draw not used yet
  for (;;) {
    if (by_range) {
      mark_by_range_avx2(block, with_acceptance, divisor, state);
    } else {
      mark_by_table(block, with_acceptance, state);
    }
    // The marked draws that are counts and not the acceptance draw of the
    // count before them; every other draw is a count refused without a
    // draw.
    for (std::size_t w = 0; w < block.marks.size(); ++w) {
      for (std::uint64_t marks = block.marks[w]; marks != 0;
           marks &= marks - 1) {
        const std::size_t i =
            w * 64 + static_cast<std::size_t>(std::countr_zero(marks));
        if (i < next) continue;
        next = i + 2;
        const std::int32_t k =
            divisor.remainder(draw_of_state(block.states[i]));
        const std::int32_t m =
            acceptance_modulus(table[static_cast<std::size_t>(k)]);
        assert(m != 0);
        if (draw_of_state(block.states[i + 1]) % m != 0) continue;
        bool added_up = false;
        if (sweeps.keep(k, added_up)) {
          rng.seed(block.states[i + 1]);
          return added_up;
        }
      }
    }
    next = next > kBlock ? next - kBlock : 0;
    state = block.states[kBlock - 1];
  }
}

}  // namespace qlor
