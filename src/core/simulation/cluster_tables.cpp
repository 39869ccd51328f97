// Allocation of the cluster generator's tables.
#include "simulation/cluster_tables.h"

namespace qlor {

Status make_cluster_tables(ClusterTables& tables,
                           const RunParameters& parameters) {
  tables.n_parents = 0;
  // In size_t, as the sizes of every array of the run: a count of centres
  // above the points asks for more than any machine holds.
  const auto entries = static_cast<std::size_t>(parameters.n_points) -
                       static_cast<std::size_t>(parameters.n_centers) + 1;
  if (auto s = allocate(tables.poisson_table, entries,
                        AllocationCause::kSamplePoints);
      !s.ok()) {
    return s;
  }
  return allocate(tables.offspring_counts,
                  static_cast<std::size_t>(parameters.n_centers),
                  AllocationCause::kSamplePoints);
}

}  // namespace qlor
