// Temporary folders and whole-file helpers for tests.
#pragma once

#include <filesystem>
#include <string>

namespace qlor::testing {

/// A fresh folder under the system's temporary directory, removed with its
/// contents when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  [[nodiscard]] const std::filesystem::path& path() const { return path_; }
  /// The path of `name` inside the folder, as a string.
  [[nodiscard]] std::string file(const std::string& name) const {
    return (path_ / name).string();
  }
  /// Writes `content` to `name` inside the folder and returns its path.
  std::string write(const std::string& name, const std::string& content) const;

 private:
  std::filesystem::path path_;
};

/// The bytes of a file; empty when it cannot be read.
[[nodiscard]] std::string read_bytes(const std::filesystem::path& path);

}  // namespace qlor::testing
