#include "cli/beside_self.h"

#include <filesystem>

namespace qlor {

std::string program_beside_self(const char* name) {
  std::error_code ec;
  const std::filesystem::path self =
      std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return (self.parent_path() / name).string();
}

}  // namespace qlor
