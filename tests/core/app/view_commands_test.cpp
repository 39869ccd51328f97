// Scrolling arithmetic and the view's file dialogs.
#include <gtest/gtest.h>

#include "analysis/open_dialogs.h"
#include "app/view_scroll.h"
#include "scripted_platform.h"
#include "temp_dir.h"

namespace qlor {
namespace {

using testing::ScriptedPlatform;

TEST(ScrollView, MovesAndClampsTheFirstLine) {
  struct Case {
    int lines, first;
    ScrollAction action;
    int thumb, want;
  };
  const Case cases[] = {
      // four lines per page
      {10, 0, ScrollAction::kPageDown, 0, 3},
      {10, 3, ScrollAction::kPageDown, 0, 6},
      {10, 6, ScrollAction::kPageDown, 0, 9},
      {10, 9, ScrollAction::kPageDown, 0, 9},
      {10, 2, ScrollAction::kPageUp, 0, 0},
      {10, 0, ScrollAction::kLineUp, 0, 0},
      {10, 9, ScrollAction::kLineDown, 0, 9},
      {10, 0, ScrollAction::kThumbTrack, 7, 7},
      {10, 0, ScrollAction::kThumbPosition, 40, 9},
      {0, 0, ScrollAction::kLineDown, 0, 0},  // an empty view keeps line 0
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.first << " of " << c.lines);
    ViewState v;
    v.text_lines.assign(static_cast<std::size_t>(c.lines), "x");
    v.lines_per_page = 4;
    v.first_line = c.first;
    EXPECT_TRUE(scroll_view(v, c.action, c.thumb));
    EXPECT_EQ(v.first_line, c.want);
    EXPECT_FALSE(scroll_view(v, ScrollAction::kOther));
    EXPECT_EQ(v.first_line, c.want);
  }
}

class ViewCommandsTest : public ::testing::Test {
 protected:
  ScriptedPlatform platform;
  FixedClock clock{0};
  AppContext ctx{platform, clock};
  ViewState view;
  testing::TempDir dir;
};

TEST_F(ViewCommandsTest, FileOpenShowsCompleteLinesAndDetectsBatchFiles) {
  const std::string dat = dir.write("p.dat", "20 20 1 1 5 19\r\n1 1\n5 5");
  const std::string bat = dir.write("list.bat", "a.dat\n b.dat \n\n");
  platform.files = {dat, bat, std::nullopt, dir.file("gone.dat")};
  file_open(ctx, view);
  EXPECT_EQ(view.text_lines,
            (std::vector<std::string>{"20 20 1 1 5 19", "1 1"}));
  EXPECT_EQ(view.batch_selected, 0);
  EXPECT_EQ(platform.titles.back(), "QLOR - p.dat");
  file_open(ctx, view);
  EXPECT_EQ(view.text_lines,
            (std::vector<std::string>{"a.dat", " b.dat ", ""}));
  EXPECT_EQ(view.batch_selected, 1);
  EXPECT_EQ(view.batch_file_name, bat);
  file_open(ctx, view);  // cancelled
  EXPECT_EQ(view.open_cancelled, 1);
  EXPECT_TRUE(view.input_path.empty());
  EXPECT_TRUE(platform.boxes.empty());
  file_open(ctx, view);  // cannot be opened
  EXPECT_EQ(view.open_cancelled, 0);
  EXPECT_TRUE(view.input_path.empty());
  EXPECT_EQ(platform.box_texts(),
            std::vector<std::string>{"QLOR - File open error!"});
}

TEST_F(ViewCommandsTest, OpenTempFileAndFileClose) {
  view.text_lines = {"a", "b"};
  view.first_line = 1;
  view.tmp_file_name = "old.tmp";
  platform.files = {std::nullopt, dir.write("p.tmp", "1 0.5\n")};
  open_temp_file(ctx, view);
  EXPECT_EQ(view.open_cancelled, 1);
  EXPECT_TRUE(view.tmp_file_name.empty());
  open_temp_file(ctx, view);
  EXPECT_EQ(view.tmp_file_name, dir.file("p.tmp"));
  EXPECT_TRUE(view.text_lines.empty());
  EXPECT_EQ(platform.titles.back(), "QLOR - p.tmp");

  view.text_lines = {"a", "b"};
  view.batch_selected = 1;
  view.open_cancelled = 1;
  view.input_path = view.batch_file_name = "b.bat";
  file_close(ctx, view);
  EXPECT_EQ(platform.titles.back(), "QLOR - Qlorfield");
  EXPECT_TRUE(view.text_lines.empty());
  EXPECT_EQ(view.first_line, 0);
  EXPECT_EQ(view.batch_selected, 0);
  EXPECT_TRUE(view.input_path.empty());
  EXPECT_TRUE(view.tmp_file_name.empty());
  EXPECT_EQ(view.batch_file_name, "b.bat");  // kept, as is open_cancelled
  EXPECT_EQ(view.open_cancelled, 1);
}

}  // namespace
}  // namespace qlor
