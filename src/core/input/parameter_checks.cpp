// Header values and their checks, in the order that decides which message
// a header with several faults reports.
#include "input/parameter_checks.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "input/header_reader.h"

namespace qlor {

namespace {

constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

bool read_real(std::istream& in, double& v) {
  return static_cast<bool>(in >> v) && std::isfinite(v);
}

// An integer item must end at a separator or line end: "99.5" or "19x"
// would otherwise be read as 99 or 19 and shift the rest into the records.
bool read_integer(std::istream& in, std::int32_t& v) {
  return static_cast<bool>(in >> v) && item_ends_cleanly(in);
}

bool read_items(AnalysisState& s, std::istream& in) {
  if (!read_real(in, s.x_axis) || !read_real(in, s.y_axis) ||
      !read_real(in, s.t_min) || !read_real(in, s.t_interval) ||
      !read_real(in, s.t_max) || !read_integer(in, s.n_simulations)) {
    return false;
  }
  if (s.process_type == ProcessType::kCsr) return true;
  if (!read_real(in, s.radius) || !read_real(in, s.c)) return false;
  return s.process_type == ProcessType::kInhibition ||
         read_integer(in, s.n_centers);
}

// trunc(q + 0.01) when it fits a 32-bit count.
bool whole_steps(double q, std::int64_t& steps) {
  const double v = std::trunc(q + 0.01);
  if (!(v >= -static_cast<double>(kInt32Max) &&
        v <= static_cast<double>(kInt32Max))) {
    return false;
  }
  steps = static_cast<std::int64_t>(v);
  return true;
}

}  // namespace

double count_pairs_total(const AnalysisState& state) {
  const double n = state.n_points;
  return n * n * (state.last_interval + 1.0) * (state.n_simulations + 1.0);
}

Status check_parameters(AnalysisState& s, std::istream& in,
                        double& pairs_total_file) {
  if (!read_items(s, in)) return kHeaderNonNumeric;
  // A plot whose area overflows leaves every estimate undefined.
  if (s.x_axis <= 0 || s.y_axis <= 0 || !std::isfinite(s.x_axis * s.y_axis)) {
    return kPlotSize;
  }
  if (s.t_min > s.t_max) return kTminAboveTmax;
  if (s.t_interval <= 0 || s.t_interval > s.t_max) return kTintervalRange;
  if (s.t_max > s.x_axis / 2 || s.t_max > s.y_axis / 2) return kTmaxAboveHalf;

  // Distance counts that a 32-bit count cannot hold are reported as a
  // failed allocation of the per-distance arrays.
  std::int64_t t_min_steps = 0;
  std::int64_t last_interval = 0;
  if (!whole_steps(s.t_min / s.t_interval, t_min_steps) ||
      !whole_steps((s.t_max - s.t_min) / s.t_interval, last_interval) ||
      last_interval + 1 > kInt32Max ||
      t_min_steps + last_interval > kInt32Max ||
      t_min_steps + last_interval < -kInt32Max) {
    return Status::allocation_failure(AllocationCause::kIntervals);
  }
  s.t_min_steps = static_cast<std::int32_t>(t_min_steps);
  s.last_interval = static_cast<std::int32_t>(last_interval);

  if (s.n_simulations < 19 ||
      (s.n_simulations >= 20 && s.n_simulations <= 98)) {
    return kSimulationCount;
  }
  if (s.n_simulations == kInt32Max)
    return Status::allocation_failure(AllocationCause::kSimulations);

  if (s.process_type == ProcessType::kInhibition) {
    // Spacing of a hexagonal packing; the seven-digit constant on purpose.
    const double bound =
        std::sqrt(s.x_axis * s.y_axis / s.n_points / 0.8660254);
    if (s.radius >= bound && s.c == 0) return kInhibitionTooLarge;
    if (s.c < 0 || s.c > 1) return kCOutOfRange;
  }
  if (s.process_type == ProcessType::kCluster) {
    if (s.x_axis / 2 <= s.radius || s.y_axis / 2 <= s.radius)
      return kClusterTooLarge;
    if (s.n_centers >= s.n_points) return kTooManyCenters;
    // A cluster process needs at least one centre, and with c above 1 the
    // acceptance modulus of distant offspring reaches 0.
    if (s.n_centers < 1) return kCentersBelowOne;
    if (s.c > 1) return kCOutOfRange;
  }
  pairs_total_file = count_pairs_total(s);
  return {};
}

}  // namespace qlor
