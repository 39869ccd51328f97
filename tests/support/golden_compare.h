// Shared pieces of the golden tests: byte-for-byte comparison of output
// files and the message boxes a failed run is expected to show.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/single_run.h"
#include "input/parameter_summary.h"
#include "model/settings.h"
#include "scripted_platform.h"
#include "temp_dir.h"

namespace qlor::testing {

inline bool is_output_file(const std::filesystem::path& p) {
  static const std::set<std::string> kExt{".tmp", ".ktt", ".sup", ".cvm",
                                          ".err"};
  return kExt.count(p.extension().string()) != 0;
}

/// The rows of a case table (tab-separated, "#" lines are comments): each
/// row is read into a Row by read(fields, row).
template <class Row, class Read>
std::vector<Row> load_case_table(const std::filesystem::path& path, Read read) {
  std::vector<Row> rows;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    Row row;
    read(fields, row);
    rows.push_back(row);
  }
  return rows;
}

/// A row of the published case table: the case's name, the clock time of
/// its seeds and the settings of its run as the table numbers them.
struct GoldenCase {
  std::string name;
  std::uint32_t seed = 0;
  int significance = 0;
  int direction = 0;
  int randomize = 1;
};

inline void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.name; }

#ifdef QLOR_GOLDEN_DIR
inline std::filesystem::path golden_dir() { return QLOR_GOLDEN_DIR; }

inline std::vector<GoldenCase> load_golden_cases() {
  return load_case_table<GoldenCase>(
      golden_dir() / "cases.tsv",
      [](std::istringstream& fields, GoldenCase& c) {
        fields >> c.name >> c.seed >> c.significance >> c.direction >>
            c.randomize;
      });
}
#endif

/// The run settings of a case.
inline void apply_case_settings(const GoldenCase& gc, RunSettings& settings) {
  settings.significance_index =
      choice_from_index<Significance>(gc.significance).value();
  set_direction(settings, choice_from_index<Direction>(gc.direction).value());
  settings.randomize_mode =
      choice_from_index<RandomizeMode>(gc.randomize).value();
  // The golden files were made with the historical generator.
  settings.generator = GeneratorKind::kClassic;
}

/// The first line where two texts differ, for failure messages.
inline std::string first_difference(const std::string& want,
                                    const std::string& got) {
  std::istringstream w(want), g(got);
  std::string wl, gl;
  for (int line = 1;; ++line) {
    const bool wok = static_cast<bool>(std::getline(w, wl));
    const bool gok = static_cast<bool>(std::getline(g, gl));
    if (!wok && !gok) return "identical lines, different bytes";
    if (wl != gl || wok != gok) {
      return "line " + std::to_string(line) + ": want '" + wl + "' got '" + gl +
             "'";
    }
  }
}

/// The texts of the stop-icon boxes shown so far.
inline std::vector<std::string> stop_box_texts(const ScriptedPlatform& p) {
  std::vector<std::string> texts;
  for (const auto& box : p.boxes) {
    if (box.icon == Icon::kStop) texts.push_back(box.text);
  }
  return texts;
}

/// The stop boxes of a run that failed with `message`: the message (or the
/// memory-failure report of a "MAF:n" tag), then the abort message.
inline std::vector<std::string> expected_failure_boxes(
    const std::string& message) {
  std::string first = message;
  if (const auto cause = Status(message).allocation_cause()) {
    first = allocation_failure_text(*cause);
  }
  if (first == kAborted) return {first};
  return {first, kAborted};
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
    const std::string want = read_bytes(entry.path());
    const std::string got = read_bytes(work / file);
    EXPECT_TRUE(want == got) << first_difference(want, got);
  }
  for (const auto& entry : fs::directory_iterator(work)) {
    const std::string file = entry.path().filename().string();
    if (is_output_file(entry.path())) {
      EXPECT_EQ(names.count(file), 1u) << "unexpected output file " << file;
    }
  }
}

}  // namespace qlor::testing
