// Runs every batch golden case (a batch file, its sample files and a
// qlor.ini) through the view and compares the files left behind byte for
// byte: the error file with its separators and CR LF line ends, and the
// outputs of the analysed entries.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "app/commands.h"
#include "app/view_controller.h"
#include "golden_compare.h"
#include "scripted_platform.h"
#include "temp_dir.h"

namespace qlor {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;
using testing::ScriptedPlatform;
using testing::TempDir;

struct BatchCase {
  std::string name;
  std::string command;
  std::int64_t seed = 0;
  std::string answer;
};

void PrintTo(const BatchCase& c, std::ostream* os) { *os << c.name; }

fs::path cases_dir() { return fs::path(QLOR_TEST_DATA_DIR) / "golden_batch"; }

std::vector<BatchCase> load_cases() {
  return testing::load_case_table<BatchCase>(
      cases_dir() / "cases.tsv", [](std::istringstream& fields, BatchCase& c) {
        fields >> c.name >> c.command >> c.seed >> c.answer;
      });
}

// Batch entries are relative to the current directory.
class CurrentDirectory {
 public:
  explicit CurrentDirectory(const fs::path& dir) : saved_(fs::current_path()) {
    fs::current_path(dir);
  }
  ~CurrentDirectory() { fs::current_path(saved_); }
  CurrentDirectory(const CurrentDirectory&) = delete;
  CurrentDirectory& operator=(const CurrentDirectory&) = delete;

 private:
  fs::path saved_;
};

class GoldenBatchTest : public ::testing::TestWithParam<BatchCase> {};

TEST_P(GoldenBatchTest, LeavesTheExpectedFiles) {
  const BatchCase& bc = GetParam();
  const fs::path case_dir = cases_dir() / bc.name;
  TempDir work;
  for (const auto& entry : fs::directory_iterator(case_dir / "input")) {
    fs::copy_file(entry.path(), work.path() / entry.path().filename());
  }
  ScriptedPlatform platform;
  platform.answers.push_back(bc.answer == "no" ? Answer::kNo : Answer::kYes);
  platform.files.push_back("batch.bat");
  FixedClock clock(bc.seed);
  {
    CurrentDirectory cd(work.path());
    ViewController view(platform, clock, "qlor.ini");
    // The expected files were made with the historical generator.
    view.context().settings.generator = GeneratorKind::kClassic;
    if (bc.command == "autorun") {
      ASSERT_TRUE(view.has_pending_autorun());
      view.run_pending_autorun();
      EXPECT_TRUE(platform.boxes.empty()) << platform.boxes.front().text;
    } else if (bc.command == "auto") {
      EXPECT_TRUE(view.on_command(kCmdBatchAutoAnalyse));
    } else {
      EXPECT_TRUE(view.on_command(kCmdBatchCheckAnalyse));
    }
  }
  testing::expect_same_outputs(case_dir / "expected", work.path());
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenBatchTest,
                         ::testing::ValuesIn(load_cases()),
                         [](const auto& param_info) {
                           return param_info.param.name;
                         });

}  // namespace
}  // namespace qlor
