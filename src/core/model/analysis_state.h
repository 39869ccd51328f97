// The analysis state: everything one run carries from reading a sample data
// file to writing its last result file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/allocate.h"
#include "model/choices.h"
#include "model/point_record.h"

namespace qlor {

using SectorTable = std::array<std::vector<double>, 4>;

/// The header items in file order and what the header reader and the checks
/// derive from them. Fixed from the checks to the end of the run.
struct RunParameters {
  double x_axis = 0.0;
  double y_axis = 0.0;
  double t_min = 0.0;
  double t_interval = 0.0;
  double t_max = 0.0;
  std::int32_t n_simulations = 0;
  double radius = 0.0;
  double c = 0.0;
  std::int32_t n_centers = 0;

  AnalysisType analysis_type = AnalysisType::kUnivariate;
  ProcessType process_type = ProcessType::kCsr;
  std::int32_t t_min_steps = 0;
  std::int32_t n_points = 0;
  std::int32_t last_interval = 0;

  /// Distance of interval i: the integer sum times the step, never
  /// t_min + i * t_interval.
  [[nodiscard]] double t_of(std::int32_t i) const {
    return static_cast<double>(i + t_min_steps) * t_interval;
  }
};

/// The pattern being analysed: the sample points, overwritten by each
/// simulated pattern, and the species counts of the sample and of the
/// current pattern.
struct PatternPoints {
  std::vector<PointRecord> points;
  std::int32_t n_species1_observed = 0;
  std::int32_t n_species2_observed = 0;
  std::int32_t n_species1 = 0;
  std::int32_t n_species2 = 0;
};

/// The lattice on which simulated points lie, derived once from the sample
/// coordinates.
struct SimulationLattice {
  std::int32_t grid_cells_x = 0;
  std::int32_t grid_cells_y = 0;
  double grid_scale = 0.0;
  std::int32_t grid_halves = 0;
  std::int32_t grid_fifths = 0;
  std::int32_t coordinate_resolution = 10000;
};

/// The cluster generator's working arrays: the number of parents at the
/// front of `points`, the offspring probabilities and counts.
struct ClusterTables {
  std::int32_t n_parents = 0;
  std::vector<double> poisson_table;
  std::vector<std::int32_t> offspring_counts;
};

/// The per-distance results of the current pattern: the arrays of a run
/// without direction, or the five sector tables.
struct DistanceArrays {
  std::vector<double> l_values;
  std::vector<double> pair_sums;
  std::vector<double> pair_sums_12;
  std::vector<double> pair_sums_21;
  std::vector<double> k12;
  std::vector<double> k21;
  SectorTable sector_sums_12;
  SectorTable sector_sums_21;
  SectorTable sector_k12;
  SectorTable sector_k21;
  SectorTable sector_l_values;
};

/// The record one run carries from reading a sample data file to its last
/// result file, made of the parts above, which live differently: the
/// parameters and the lattice are fixed once read, the points and the
/// distance arrays change with every pattern, the cluster tables belong to
/// the cluster generator. Owned by the driver of one run; a stage takes the
/// part it needs.
struct AnalysisState : RunParameters,
                       PatternPoints,
                       SimulationLattice,
                       ClusterTables,
                       DistanceArrays {};

/// Allocates the per-distance arrays of the run for the direction setting.
/// Returns "" or "MAF:2".
[[nodiscard]] Status allocate_result_arrays(AnalysisState& state,
                                            Direction direction_index);

/// Releases every array of the run (after the last pattern or an abort).
void release_run_arrays(AnalysisState& state);

}  // namespace qlor
