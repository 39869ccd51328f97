// The view controller: check marks, the automatic run at the first repaint,
// the drawn rows, and the test outcomes the runs leave for the front end.
#include "app/view_controller.h"

#include <gtest/gtest.h>

#include "scripted_platform.h"
#include "temp_dir.h"

namespace qlor {
namespace {

using testing::ScriptedPlatform;

class QlorViewTest : public ::testing::Test {
 protected:
  ScriptedPlatform platform;
  FixedClock clock{1700000000};
  testing::TempDir dir;
};

TEST_F(QlorViewTest, SettingsCommandsMoveTheCheckMarks) {
  ViewController view(platform, clock,
                      dir.write("qlor.ini", "SIGNIFICANCE=1\n"));
  EXPECT_TRUE(view.is_checked(kCmdSignificanceSupremum));
  EXPECT_TRUE(view.on_command(kCmdSignificanceCvm));
  EXPECT_FALSE(view.is_checked(kCmdSignificanceSupremum));
  EXPECT_TRUE(view.is_checked(kCmdSignificanceCvm));
  EXPECT_TRUE(view.on_command(kCmdShowSettings));
  ASSERT_EQ(platform.boxes.size(), 1u);
  EXPECT_EQ(platform.boxes[0].icon, Icon::kNone);
  EXPECT_NE(platform.boxes[0].text.find("Cramer-von Mises  "),
            std::string::npos);
  for (int cmd : {kCmdAppExit, kCmdAppAbout, kCmdViewStatusBar}) {
    EXPECT_FALSE(ViewController::handles(cmd));  // the framework's own
  }
}

TEST_F(QlorViewTest, FunctionMenuAndBandwidthEntry) {
  ViewController view(platform, clock, dir.write("qlor.ini", "FUNCTION=O\n"));
  EXPECT_TRUE(view.is_checked(kCmdFunctionO));
  EXPECT_TRUE(view.on_command(kCmdFunctionG));
  EXPECT_TRUE(view.is_checked(kCmdFunctionG));
  EXPECT_FALSE(view.is_checked(kCmdFunctionO));
  EXPECT_EQ(view.context().settings.function, FunctionKind::kG);
  struct Case {
    std::optional<std::string> answer;
    bool accepted;
    double bandwidth;  // after the answer
  };
  const Case cases[] = {
      {" 2.5 ", true, 2.5}, {"-1", false, 2.5},  // refused with a message, kept
      {"abc", false, 2.5},  {std::nullopt, false, 2.5},  // cancelled
      {"", true, 0},                                     // Stoyan's rule again
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer.value_or("(cancel)"));
    platform.boxes.clear();
    platform.text_answers.push_back(c.answer);
    EXPECT_EQ(view.on_command(kCmdBandwidth), c.accepted);
    EXPECT_EQ(view.context().settings.bandwidth, c.bandwidth);
    const bool refused = c.answer && !c.accepted;
    EXPECT_EQ(platform.box_texts(),
              refused ? std::vector<std::string>{kBandwidthRefused}
                      : std::vector<std::string>{});
  }
}

TEST_F(QlorViewTest, AutomaticRunAtTheFirstRepaintOnly) {
  const std::string missing = dir.file("gone.dat");
  ViewController view(
      platform, clock,
      dir.write("qlor.ini", "AUTORUN=1\nINFILE=" + missing + "\n"));
  ASSERT_TRUE(view.has_pending_autorun());
  EXPECT_FALSE(view.run_pending_autorun());
  EXPECT_EQ(platform.titles, (std::vector<std::string>{"QLOR - " + missing,
                                                       "QLOR - Qlorfield"}));
  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_EQ(testing::read_bytes(dir.file("gone.err")),
            "gone.dat  -  File not found\r\n");
  EXPECT_FALSE(view.has_pending_autorun());
  EXPECT_FALSE(view.run_pending_autorun());
  EXPECT_EQ(platform.titles.size(), 2u);
}

TEST_F(QlorViewTest, KeepsEachRunsTestsForTheFrontEndOnce) {
  ViewController view(platform, clock,
                      dir.write("qlor.ini", "SIGNIFICANCE=3\n"));
  const std::string sample =
      dir.write("p.dat", "20 20 1 1 5 19\n1 1\n5 5\n9.5 3\n12 17\n3 14\n");
  view.choose_file(sample);
  ASSERT_TRUE(view.on_command(kCmdSingleFile));
  EXPECT_TRUE(view.input_path().empty());  // a run forgets its file
  const auto tests = view.take_test_outcomes();
  ASSERT_EQ(tests.size(), 2u);
  EXPECT_EQ(tests[0].file_name, dir.file("p.sup"));
  EXPECT_EQ(tests[1].file_name, dir.file("p.cvm"));
  EXPECT_TRUE(view.take_test_outcomes().empty());

  // A batch file chosen for a single-file run is refused and yields no test.
  view.choose_file(dir.write("b.bat", sample + "\n"));
  EXPECT_EQ(view.batch_selected(), 1);
  EXPECT_FALSE(view.on_command(kCmdSingleFile));
  EXPECT_EQ(platform.boxes.back().text,
            "Select \"Batch file\" for batch files !  ");
  EXPECT_TRUE(view.take_test_outcomes().empty());
}

TEST_F(QlorViewTest, LayoutDrawsFromTheFirstLine) {
  platform.files = {dir.write("p.txt", "a\nb\nc\nd\ne\n")};
  ViewController view(platform, clock, dir.file("no.ini"));
  ASSERT_TRUE(view.on_command(kCmdFileOpen));
  // 50 / 16: three whole lines; a fourth starts inside and is drawn.
  EXPECT_EQ(view.layout(50, 16),
            (std::vector<std::string_view>{"a", "b", "c", "d"}));
  EXPECT_EQ(view.lines_per_page(), 3);
  view.on_vscroll(ScrollAction::kPageDown);
  EXPECT_EQ(view.layout(50, 16),
            (std::vector<std::string_view>{"c", "d", "e"}));
}

}  // namespace
}  // namespace qlor
