// Launcher detection from OpenMPI's, PMIx's and PMI's variables.
#include "cli/launcher.h"

#include <charconv>
#include <cstring>

namespace qlor {

namespace {

std::optional<int> read_number(const char* text) {
  if (text == nullptr) return std::nullopt;
  int v = 0;
  const char* end = text + std::strlen(text);
  const auto [p, ec] = std::from_chars(text, end, v);
  if (ec != std::errc() || p != end || v < 0) return std::nullopt;
  return v;
}

std::optional<int> first_number(const char* (*get)(const char*),
                                std::initializer_list<const char*> names) {
  for (const char* name : names) {
    if (auto v = read_number(get(name))) return v;
  }
  return std::nullopt;
}

}  // namespace

LauncherInfo detect_launcher(const char* (*get)(const char*)) {
  LauncherInfo info;
  for (const char* name : {"OMPI_COMM_WORLD_SIZE", "PMIX_RANK", "PMI_RANK"}) {
    if (get(name) != nullptr) info.started = true;
  }
  if (!info.started) return info;
  info.rank = first_number(
      get, {"OMPI_COMM_WORLD_RANK", "PMIX_RANK", "PMI_RANK", "SLURM_PROCID"});
  info.size =
      first_number(get, {"OMPI_COMM_WORLD_SIZE", "PMI_SIZE", "SLURM_NTASKS"});
  return info;
}

}  // namespace qlor
