// What every generator shares: which points a simulation regenerates, the
// comparison sets of the coincidence test and the label assignment.
#pragma once

#include <cstdint>

#include "model/analysis_state.h"
#include "model/intensity.h"
#include "model/run_seed.h"
#include "simulation/pattern_draws.h"
#include "simulation/simulation_grid.h"

namespace qlor {

/// What the simulations of a run need besides the observed state.
struct SimulationEnv {
  RunSeed seed;
  RandomizeMode randomize_mode = RandomizeMode::kSpecies2;
  /// An inhomogeneous run's intensity: its null model is the heterogeneous
  /// Poisson process, whatever the header's.
  Intensity intensity = {};
  /// Random labelling or the toroidal shift in place of the header's model
  /// (a bivariate run without intensity).
  NullKind null_kind = NullKind::kHeader;
};

/// True when point i keeps its observed position (mode 1, species 1).
[[nodiscard]] inline bool is_fixed_point(const AnalysisState& state,
                                         RandomizeMode randomize_mode,
                                         const PointRecord& p) {
  return state.analysis_type == AnalysisType::kBivariate &&
         randomize_mode == RandomizeMode::kSpecies2 && p.species == 0;
}

/// True when both species are randomised and relabelled.
[[nodiscard]] inline bool relabels(const AnalysisState& state,
                                   RandomizeMode randomize_mode) {
  return state.analysis_type == AnalysisType::kBivariate &&
         randomize_mode == RandomizeMode::kBothSpecies;
}

/// Starts the comparison set of a simulation: the fixed points of mode 1.
void add_fixed_points(const AnalysisState& state, RandomizeMode randomize_mode,
                      PositionSet& placed);

/// Mode 2: gives an accepted point its label so that every simulated pattern
/// keeps the observed species counts.
void assign_label(AnalysisState& state, PatternDraws& draws, PointRecord& p);

/// Mode 2: no point labelled yet.
inline void reset_labels(AnalysisState& state) {
  state.n_species1 = 0;
  state.n_species2 = 0;
}

inline constexpr const char* kCsrFailure =
    "Failure to create CSR-plot - grid too coarse to place all points  ";

}  // namespace qlor
