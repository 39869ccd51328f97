// The significance-only run: its refusals, the sample data file it finds
// for a temporary file, and the check of the temporary file's size.
#include "batch/significance_only.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "analysis/single_run.h"
#include "scripted_platform.h"
#include "temp_dir.h"

namespace qlor {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;
using testing::ScriptedPlatform;
using Texts = std::vector<std::string>;

const char* const kAbortedText = "A N A L Y S I S    A B O R T E D  ";
const char* const kIncomplete =
    "QLOR - Temporary file incomplete or unreadable !";

class SignificanceOnlyTest : public ::testing::Test {
 protected:
  // A finished run of p.dat with both tests leaves p.tmp, p.sup and p.cvm.
  void SetUp() override {
    ScriptedPlatform p;
    AppContext x(p, clock);
    ViewState xv;
    xv.input_path =
        dir.write("p.dat", "20 20 1 1 5 19\n1 1\n5 5\n9.5 3\n12 17\n3 14\n");
    x.settings.significance_index = Significance::kBoth;
    ASSERT_TRUE(run_single_file(x, xv).complete);
    tmp = read_bytes(dir.file("p.tmp"));
  }
  // Runs the command on `file` and returns the boxes shown.
  Texts run(std::optional<std::string> file, int significance = 3) {
    ScriptedPlatform p;
    p.files = {std::move(file)};
    AppContext x(p, clock);
    ViewState xv;
    x.settings.significance_index = static_cast<Significance>(significance);
    complete = significance_only(x, xv).complete;
    dialogs = p.dialog_titles.size();
    return p.box_texts();
  }

  FixedClock clock{1700000000};
  testing::TempDir dir;
  std::string tmp;
  bool complete = false;
  std::size_t dialogs = 0;
};

TEST_F(SignificanceOnlyTest, RefusesBeforeTheRun) {
  dir.write("lonely.tmp", tmp);
  EXPECT_EQ(run(dir.file("p.tmp"), 0),
            Texts{"No Test of Significance selected !  "});
  EXPECT_EQ(dialogs, 0u);
  EXPECT_EQ(run(std::nullopt), Texts{"No file selected !  "});
  EXPECT_EQ(run(dir.file("none.tmp")), Texts{"QLOR - File open error!"});
  EXPECT_EQ(run(dir.file("lonely.tmp")),
            Texts{"QLOR - Corresponding DAT-File not found !"});
  EXPECT_FALSE(fs::exists(dir.file("lonely.sup")));
}

TEST_F(SignificanceOnlyTest, SectorFileUsesTheStemsSampleFile) {
  dir.write("p_W4.tmp", tmp);
  EXPECT_EQ(run(dir.file("p_W4.tmp")),
            Texts{"C A L C U L A T I O N    C O M P L E T E  "});
  EXPECT_TRUE(complete);
  EXPECT_EQ(read_bytes(dir.file("p_W4.sup")), read_bytes(dir.file("p.sup")));
  EXPECT_EQ(read_bytes(dir.file("p_W4.cvm")), read_bytes(dir.file("p.cvm")));
}

TEST_F(SignificanceOnlyTest, AcceptsEveryValueWhateverFollowsTheLast) {
  const std::string contents[] = {
      tmp.substr(0, tmp.size() - 2),           // the last line end lost
      tmp.substr(0, tmp.size() - 1),           // its line feed lost
      tmp.substr(0, tmp.size() - 2) + "  \t",  // blanks without line end
      tmp + "   \r\n \r\n\r\n"};               // blank lines
  for (const auto& content : contents) {
    SCOPED_TRACE(content.size());
    fs::copy_file(dir.file("p.dat"), dir.file("q.dat"),
                  fs::copy_options::overwrite_existing);
    EXPECT_EQ(run(dir.write("q.tmp", content)),
              Texts{"C A L C U L A T I O N    C O M P L E T E  "});
    EXPECT_EQ(read_bytes(dir.file("q.sup")), read_bytes(dir.file("p.sup")));
    EXPECT_EQ(read_bytes(dir.file("q.cvm")), read_bytes(dir.file("p.cvm")));
  }
}

TEST_F(SignificanceOnlyTest, RefusesATemporaryFileOfOtherParameters) {
  const std::string contents[] = {
      tmp.substr(0, tmp.rfind('\n', tmp.size() - 2) + 1),  // a line short
      tmp.substr(0, tmp.rfind(' ') + 1),                   // a value short
      tmp + tmp.substr(0, tmp.size() / 20),                // a pattern more
      tmp + "6 -0.5\r\n",                                  // a pair more
      tmp.substr(0, tmp.size() - 2) + "x\r\n",             // unreadable
      tmp + "x\r\n",
      ""};
  for (const auto& content : contents) {
    SCOPED_TRACE(content.size());
    fs::copy_file(dir.file("p.dat"), dir.file("q.dat"),
                  fs::copy_options::overwrite_existing);
    EXPECT_EQ(run(dir.write("q.tmp", content)),
              (Texts{kIncomplete, kAbortedText}));
    EXPECT_FALSE(fs::exists(dir.file("q.sup")));
    EXPECT_FALSE(fs::exists(dir.file("q.cvm")));
  }
  dir.write("p.dat", "20 20 1 0 5 19\n1 1\n");  // a header fault comes first
  EXPECT_EQ(run(dir.file("p.tmp")),
            (Texts{"Value of 't_interval' is out of range  ", kAbortedText}));
}

}  // namespace
}  // namespace qlor
