// What every generator shares: which points a simulation regenerates, the
// comparison sets of the coincidence test and the label assignment.
#pragma once

#include <cstdint>

#include "model/analysis_state.h"
#include "simulation/lcg_random.h"
#include "simulation/simulation_grid.h"

namespace qlor {

class Clock;

/// What a generator needs besides the analysis state.
struct SimulationEnv {
  const Clock& clock;
  RandomizeMode randomize_mode = RandomizeMode::kSpecies2;
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
void assign_label(AnalysisState& state, LcgRandom& rng, PointRecord& p);

inline constexpr const char* kCsrFailure =
    "Failure to create CSR-plot - grid too coarse to place all points  ";

}  // namespace qlor
