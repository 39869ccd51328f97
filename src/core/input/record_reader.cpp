// Record checks run per record in the order species, x, y, identity; the
// first failure ends the reader.
#include "input/record_reader.h"

#include <cstdio>
#include <unordered_map>

#include "input/header_reader.h"
#include "model/lattice.h"

namespace qlor {

namespace {

template <class... Args>
std::string format_message(const char* format, Args... args) {
  char buf[160];
  std::snprintf(buf, sizeof buf, format, args...);
  return buf;
}

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
  // First record number of each position read so far: the identity check
  // reports the earliest partner of the first repeated position.
  std::unordered_map<std::pair<double, double>, std::int32_t, PositionHash>
      seen;
  seen.reserve(static_cast<std::size_t>(state.n_points));

  for (std::int32_t k = 1; k <= state.n_points; ++k) {
    PointRecord& p = state.points[static_cast<std::size_t>(k - 1)];
    if (!(in >> p.x >> p.y) || (bivariate && !(in >> p.species))) {
      return format_message(
          "Input error: non-numeric value in sample record %d  ", k);
    }
    if (bivariate) {
      // "1.0" is no label: the species must end at a separator.
      if (p.species == 0 && item_ends_cleanly(in)) {
        ++state.n_species1;
      } else if (p.species == 1 && item_ends_cleanly(in)) {
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
    const auto [it, inserted] = seen.try_emplace({p.x, p.y}, k);
    if (!inserted) {
      return format_message("Identical coordinates for samples %d and %d  ",
                            it->second, k);
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
