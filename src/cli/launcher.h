// Whether an MPI launcher (mpirun, mpiexec, srun) started this process,
// read from the environment it sets, so that MPI is initialised only then.
#pragma once

#include <optional>

namespace qlor {

struct LauncherInfo {
  /// OMPI_COMM_WORLD_SIZE, PMIX_RANK or PMI_RANK is set.
  bool started = false;
  /// The rank and job size when the environment tells them.
  std::optional<int> rank;
  std::optional<int> size;
};

/// Reads the launcher's variables with `get` (std::getenv in the program).
[[nodiscard]] LauncherInfo detect_launcher(const char* (*get)(const char*));

}  // namespace qlor
