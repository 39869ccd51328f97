// Temporary folders for tests.
#include "temp_dir.h"

#include <fstream>
#include <iterator>
#include <random>

namespace qlor::testing {

TempDir::TempDir() {
  std::random_device rd;
  const auto base = std::filesystem::temp_directory_path();
  for (;;) {
    path_ = base / ("qlor-test-" + std::to_string(rd()));
    if (std::filesystem::create_directory(path_)) break;
  }
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::write(const std::string& name,
                           const std::string& content) const {
  const std::string p = file(name);
  std::ofstream(p, std::ios::binary) << content;
  return p;
}

std::string read_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace qlor::testing
