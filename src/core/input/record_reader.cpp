// Record checks run per record in the order species, x, y, identity; the
// first failure ends the reader.
#include "input/record_reader.h"

#include <bit>
#include <cstdio>
#include <vector>

#include "input/item_scanner.h"
#include "model/lattice.h"

namespace qlor {

namespace {

template <class... Args>
std::string format_message(const char* format, Args... args) {
  char buf[160];
  std::snprintf(buf, sizeof buf, format, args...);
  return buf;
}

// The first record number of each position read so far, in an open-addressed
// table of record numbers (0 marks a free slot) at most half full. Positions
// are equal as doubles are, so +0.0 and -0.0 are one position.
class FirstRecords {
 public:
  [[nodiscard]] Status reserve(std::size_t n) {
    const std::size_t size = std::bit_ceil(2 * n + 2);
    mask_ = size - 1;
    return allocate(slots_, size, AllocationCause::kSamplePoints);
  }

  /// The earlier record at record k's position, or 0 after adding k.
  [[nodiscard]] std::int32_t find_or_add(const std::vector<PointRecord>& points,
                                         std::int32_t k) {
    const PointRecord& p = points[static_cast<std::size_t>(k - 1)];
    for (std::size_t i = PositionHash{}({p.x, p.y}) & mask_;;
         i = (i + 1) & mask_) {
      const std::int32_t j = slots_[i];
      if (j == 0) {
        slots_[i] = k;
        return 0;
      }
      const PointRecord& q = points[static_cast<std::size_t>(j - 1)];
      if (q.x == p.x && q.y == p.y) return j;
    }
  }

 private:
  std::vector<std::int32_t> slots_;
  std::size_t mask_ = 0;
};

}  // namespace

Status read_samples(AnalysisState& state, std::istream& in, RecordPass pass) {
  if (auto s = allocate(state.points, static_cast<std::size_t>(state.n_points),
                        AllocationCause::kSamplePoints);
      !s.ok()) {
    return s;
  }
  state.n_species1 = 0;
  state.n_species2 = 0;
  const bool bivariate = state.analysis_type == AnalysisType::kBivariate;
  // The identity check reports the earliest partner of the first repeated
  // position.
  FirstRecords seen;
  if (auto s = seen.reserve(static_cast<std::size_t>(state.n_points));
      !s.ok()) {
    return s;
  }

  const std::string text = read_rest(in);
  ItemScanner items(text);
  for (std::int32_t k = 1; k <= state.n_points; ++k) {
    PointRecord& p = state.points[static_cast<std::size_t>(k - 1)];
    if (!items.read(p.x) || !items.read(p.y) ||
        (bivariate && !items.read(p.species))) {
      return format_message(
          "Input error: non-numeric value in sample record %d  ", k);
    }
    if (bivariate) {
      // "1.0" is no label: the species must end at a separator.
      if (p.species == 0 && items.item_ends_cleanly()) {
        ++state.n_species1;
      } else if (p.species == 1 && items.item_ends_cleanly()) {
        ++state.n_species2;
      } else {
        return format_message("Wrong species ID <0,1>: sample record %d  ", k);
      }
    } else {
      p.species = 0;
    }
    if (p.x < 0 || p.x >= state.x_axis) {
      return format_message("x-coordinate out of range: sample record %d  ", k);
    }
    if (p.y < 0 || p.y >= state.y_axis) {
      return format_message("y-coordinate out of range: sample record %d  ", k);
    }
    if (const std::int32_t first = seen.find_or_add(state.points, k)) {
      return format_message("Identical coordinates for samples %d and %d  ",
                            first, k);
    }
    if (pass != RecordPass::kPrecheck) update_coordinate_resolution(state, p.x);
  }

  // The estimators divide by both species counts.
  if (bivariate && (state.n_species1 == 0 || state.n_species2 == 0)) {
    return kBothSpeciesNeeded;
  }
  if (state.process_type == ProcessType::kCluster && bivariate) {
    if (pass == RecordPass::kBatch && state.n_centers != state.n_species1) {
      return kCentersNotSpecies1;
    }
    if (pass != RecordPass::kBatch && state.n_centers > state.n_species1) {
      return kCentersAboveSpecies1;
    }
  }
  if (pass == RecordPass::kPrecheck) {
    std::vector<PointRecord>().swap(state.points);
    return {};
  }
  state.n_species1_observed = state.n_species1;
  state.n_species2_observed = state.n_species2;
  return {};
}

}  // namespace qlor
