// Placeholder until the cluster generator lands.
#include "simulation/cluster.h"

namespace qlor {

std::string simulate_cluster(AnalysisState&, std::int32_t,
                             const SimulationEnv&, LcgRandom&) {
  return kClusterFailure;
}

}  // namespace qlor
