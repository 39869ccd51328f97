// Byte-for-byte comparison of the output files of a golden case.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "temp_dir.h"

namespace qlor::testing {

inline bool is_output_file(const std::filesystem::path& p) {
  static const std::set<std::string> kExt{".tmp", ".ktt", ".sup", ".cvm",
                                          ".err"};
  return kExt.count(p.extension().string()) != 0;
}

/// Every output file of `expected` must be in `work` with the same bytes,
/// and `work` must hold no other output file.
inline void expect_same_outputs(const std::filesystem::path& expected,
                                const std::filesystem::path& work) {
  namespace fs = std::filesystem;
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(expected)) {
    if (!is_output_file(entry.path())) continue;
    const std::string file = entry.path().filename().string();
    names.insert(file);
    SCOPED_TRACE(file);
    ASSERT_TRUE(fs::exists(work / file)) << "not written";
    EXPECT_EQ(read_bytes(work / file), read_bytes(entry.path()));
  }
  for (const auto& entry : fs::directory_iterator(work)) {
    const std::string file = entry.path().filename().string();
    if (is_output_file(entry.path())) {
      EXPECT_EQ(names.count(file), 1u) << "unexpected output file " << file;
    }
  }
}

}  // namespace qlor::testing
