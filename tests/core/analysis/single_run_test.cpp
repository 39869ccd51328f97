// The message sequences of the single-file run and its common ending.
#include "analysis/single_run.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "analysis/open_dialogs.h"
#include "input/header_reader.h"
#include "input/parameter_summary.h"
#include "results/tmp_file.h"
#include "scripted_platform.h"
#include "temp_dir.h"

namespace qlor {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedPlatform;
using testing::TempDir;

const char* const kSmallCsr =
    "20 20 1 1 5 19\n1 1\n5 5\n9.5 3\n12 17\n3 14\n17.5 8\n";

class SingleRunTest : public ::testing::Test {
 protected:
  ScriptedPlatform platform;
  FixedClock clock{1700000000};
  AppContext ctx{platform, clock};
  ViewState view;
  TempDir dir;
};

TEST_F(SingleRunTest, SucceedsAfterTheSummaryAndForgetsTheFile) {
  view.input_path = dir.write("p.dat", kSmallCsr);
  ctx.settings.significance_index = Significance::kBoth;
  EXPECT_TRUE(run_single_file(ctx, view).complete);
  ASSERT_EQ(platform.boxes.size(), 2u);
  EXPECT_EQ(platform.boxes[0].buttons, Buttons::kYesNo);
  EXPECT_EQ(platform.boxes[0].icon, Icon::kNone);
  EXPECT_EQ(platform.boxes[1].text, kComplete);
  EXPECT_EQ(platform.boxes[1].icon, Icon::kNone);
  EXPECT_TRUE(view.input_path.empty());
  for (const char* ext : {".tmp", ".ktt", ".sup", ".cvm"}) {
    EXPECT_TRUE(fs::exists(dir.file(std::string("p") + ext))) << ext;
  }
  // Progress: shown under "Show always", 5% per pattern, complete at the end.
  const auto& events = platform.progress_events;
  EXPECT_EQ(events.front(), "create 1");
  EXPECT_EQ(std::count(events.begin(), events.end(), "repaint"), 21);
  EXPECT_EQ(events[events.size() - 3], "text 131 Status: Calculation complete");
  EXPECT_EQ(events.back(), "close");
}

TEST_F(SingleRunTest, EndsEachFailureWithTheRightBoxes) {
  struct Case {
    const char* label;
    const char* content;  // nullptr: no such file
    std::vector<Answer> answers;
    std::vector<std::string> boxes;
  };
  const std::string summary_prefix = "QLOR has recognised";
  const Case cases[] = {
      {"header fault",
       "20 20 1 1 5\n1 1\n",
       {},
       {kWrongParameterCount, kAborted}},
      {"summary declined", kSmallCsr, {Answer::kNo}, {"<summary>", kAborted}},
      {"missing file", nullptr, {}, {"QLOR - File open error!"}},
      {"allocation failure",
       "20 20 0 1e-12 5 19\n1 1\n",
       {},
       {allocation_failure_text(AllocationCause::kIntervals), kAborted}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    ScriptedPlatform p;
    AppContext run(p, clock);
    ViewState run_view;
    run_view.input_path =
        c.content ? dir.write("f.dat", c.content) : dir.file("none.dat");
    p.answers.assign(c.answers.begin(), c.answers.end());
    EXPECT_FALSE(run_single_file(run, run_view).complete);
    auto texts = p.box_texts();
    for (auto& t : texts) {
      if (t.rfind(summary_prefix, 0) == 0) t = "<summary>";
    }
    EXPECT_EQ(texts, c.boxes);
    EXPECT_TRUE(run_view.input_path.empty());
    EXPECT_FALSE(fs::exists(dir.file("f.ktt")));
  }
  EXPECT_EQ(
      allocation_failure_text(AllocationCause::kIntervals),
      "MEMORY ALLOCATION FAILED !  \n\nUnsuccessful allocation for array(s) "
      "determined by :  \n\nnumber of intervals of 't' = item 4 (3,5) in "
      "first record  ");
}

TEST_F(SingleRunTest, RefusesDirectionWithTestBeforeAskingForAFile) {
  ctx.settings.significance_index = Significance::kSupremum;
  set_direction(ctx.settings, Direction::kCardinal);
  EXPECT_FALSE(run_single_file(ctx, view).complete);
  EXPECT_EQ(platform.box_texts(), std::vector<std::string>{kDirectionWithTest});
  EXPECT_TRUE(platform.dialog_titles.empty());
}

TEST_F(SingleRunTest, AsksForAFileAndHandlesCancelAndBatchFiles) {
  // Cancel: silent.
  EXPECT_FALSE(run_single_file(ctx, view).complete);
  EXPECT_EQ(platform.dialog_titles,
            std::vector<std::string>{"QLOR - open file ..."});
  EXPECT_TRUE(platform.boxes.empty());

  // A chosen file that cannot be opened is reported once.
  platform.files.push_back(dir.file("vanished.dat"));
  EXPECT_FALSE(run_single_file(ctx, view).complete);
  EXPECT_EQ(platform.box_texts(), std::vector<std::string>{kFileOpenError});
  platform.boxes.clear();

  // A batch file chosen with File Open.
  platform.files.push_back(dir.write("list.bat", "a.dat\n"));
  EXPECT_FALSE(run_single_file(ctx, view).complete);
  EXPECT_EQ(platform.box_texts(), std::vector<std::string>{kSelectBatch});
  EXPECT_EQ(view.input_path, dir.file("list.bat"));
  EXPECT_EQ(platform.titles.back(), "QLOR - list.bat");
  EXPECT_EQ(platform.shown_texts.back(), std::vector<std::string>{"a.dat"});
}

TEST_F(SingleRunTest, KeepsPatternsOfAnAbandonedRunAndReportsWriteErrors) {
  // The temporary file cannot be created: a folder stands in its place.
  view.input_path = dir.write("w.dat", kSmallCsr);
  fs::create_directory(dir.file("w.tmp"));
  EXPECT_FALSE(run_single_file(ctx, view).complete);
  EXPECT_EQ(platform.box_texts().at(1),
            kFileWriteError + dir.file("w.tmp") + " (Is a directory)");
  EXPECT_EQ(platform.box_texts().at(2), kAborted);
}

TEST_F(SingleRunTest, AutomaticRunWritesOnlyTheErrorFile) {
  ctx.settings.autorun_pending = 1;
  view.input_path = dir.file("gone.dat");
  EXPECT_FALSE(run_single_file_auto(ctx, view).complete);
  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_EQ(testing::read_bytes(dir.file("gone.err")),
            "gone.dat  -  File not found\r\n");
  EXPECT_TRUE(view.input_path.empty());

  view.input_path = dir.write("big.dat", "20 20 0 1e-12 5 19\n1 1\n");
  EXPECT_FALSE(run_single_file_auto(ctx, view).complete);
  EXPECT_EQ(testing::read_bytes(dir.file("big.err")), "big.dat  -  MAF:2\r\n");

  // A sample file named like its error file is left as it is.
  const std::string odd = dir.write("odd.err", "20 20 1 1 5\n1 1\n");
  view.input_path = odd;
  EXPECT_FALSE(run_single_file_auto(ctx, view).complete);
  EXPECT_EQ(testing::read_bytes(odd), "20 20 1 1 5\n1 1\n");

  view.input_path = dir.write("ok.dat", kSmallCsr);
  EXPECT_TRUE(run_single_file_auto(ctx, view).complete);
  EXPECT_EQ(view.input_path, dir.file("ok.dat"));
  EXPECT_FALSE(fs::exists(dir.file("ok.err")));
  EXPECT_TRUE(platform.boxes.empty());
}

}  // namespace
}  // namespace qlor
