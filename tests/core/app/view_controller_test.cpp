// The view controller: check marks, the automatic run at the first repaint,
// and the drawn rows.
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
