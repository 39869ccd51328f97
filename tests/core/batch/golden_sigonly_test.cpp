// Runs every published significance-only case: the temporary file (and the
// sample data file) of an earlier run are copied into an empty folder, the
// tests are run on the temporary file, and the test files written and the
// boxes shown are compared with the expected ones.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "analysis/app_context.h"
#include "analysis/single_run.h"
#include "batch/significance_only.h"
#include "golden_compare.h"
#include "input/parameter_summary.h"
#include "scripted_platform.h"
#include "temp_dir.h"

namespace qlor {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;
using testing::ScriptedPlatform;
using testing::TempDir;

struct SigonlyCase {
  std::string name;
  std::string suffix;  // "" for the plain temporary file
  int significance = 0;
  std::string copy;  // dat+tmp, tmp or dat
  [[nodiscard]] std::string folder() const {
    return name + "__sigonly" + suffix + "_" + std::to_string(significance);
  }
};

void PrintTo(const SigonlyCase& c, std::ostream* os) { *os << c.folder(); }

using testing::golden_dir;

std::vector<SigonlyCase> load_cases() {
  return testing::load_case_table<SigonlyCase>(
      golden_dir() / "sigonly.tsv",
      [](std::istringstream& fields, SigonlyCase& c) {
        fields >> c.name >> c.suffix >> c.significance >> c.copy;
        if (c.suffix == "-") c.suffix.clear();
      });
}

// The refusals before the run proper end without the abort message.
std::vector<std::string> expected_boxes(const std::string& message) {
  static const std::set<std::string> kRefusals{
      "No Test of Significance selected !  ", "No file selected !  ",
      "QLOR - File open error!", "QLOR - Corresponding DAT-File not found !"};
  if (kRefusals.count(message) != 0) return {message};
  return testing::expected_failure_boxes(message);
}

class GoldenSigonlyTest : public ::testing::TestWithParam<SigonlyCase> {};

TEST_P(GoldenSigonlyTest, ReproducesTheTestFiles) {
  const SigonlyCase& c = GetParam();
  const fs::path case_dir = golden_dir() / c.folder();
  TempDir work;
  const std::string tmp = c.name + c.suffix + ".tmp";
  // The inputs come from the folder of the run that made them.
  for (const std::string& file : {c.name + ".dat", tmp}) {
    if (c.copy.find(file.substr(file.size() - 3)) != std::string::npos) {
      fs::copy_file(golden_dir() / c.name / file, work.path() / file);
    }
  }

  ScriptedPlatform platform;
  platform.files.push_back(work.file(tmp));
  FixedClock clock(0);
  AppContext ctx(platform, clock);
  ViewState view;
  ctx.settings.significance_index = static_cast<Significance>(c.significance);
  const bool complete = significance_only(ctx, view).complete;

  const std::vector<std::string> stop_boxes = testing::stop_box_texts(platform);
  const fs::path message_file = case_dir / "message.txt";
  if (fs::exists(message_file)) {
    EXPECT_FALSE(complete);
    EXPECT_EQ(stop_boxes, expected_boxes(read_bytes(message_file)));
  } else {
    EXPECT_TRUE(complete);
    EXPECT_TRUE(stop_boxes.empty()) << stop_boxes.front();
  }
  testing::expect_same_outputs(case_dir, work.path());
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenSigonlyTest,
                         ::testing::ValuesIn(load_cases()),
                         [](const auto& param_info) {
                           return param_info.param.folder();
                         });

}  // namespace
}  // namespace qlor
