// The message sequences, error files and progress of the batch commands.
#include <gtest/gtest.h>

#include <filesystem>

#include "analysis/single_run.h"
#include "batch/auto_batch.h"
#include "batch/batch_file.h"
#include "batch/batch_precheck.h"
#include "batch/batch_run.h"
#include "scripted_platform.h"
#include "temp_dir.h"

namespace qlor {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;
using testing::ScriptedPlatform;
using Labels = std::vector<std::string>;

const char* const kSmallCsr =
    "20 20 1 1 5 19\n1 1\n5 5\n9.5 3\n12 17\n3 14\n17.5 8\n";
const std::string kCsrFailure =
    "Failure to create CSR-plot - grid too coarse to place all points  ";

// Short labels of the boxes, for comparing whole sequences.
Labels labels(const ScriptedPlatform& p) {
  Labels out;
  for (const auto& b : p.boxes) {
    const std::string& t = b.text;
    const std::string name =
        t.substr(t.find('\t') + 1, t.find("  \n") - t.find('\t') - 1);
    if (t.find("NO  DATA  ERRORS") != std::string::npos) {
      out.push_back("summary " + name);
    } else if (t.rfind("FILE :\t", 0) == 0) {
      out.push_back("error " + name + ": " + t.substr(t.find("ERROR :\t") + 8));
    } else if (t.rfind("BATCHFILE :\t", 0) == 0) {
      out.push_back(b.icon == Icon::kStop ? "has errors" : "check complete");
    } else {
      const std::pair<const char*, const char*> names[] = {
          {"QLOR has detected errors in one or more files  \n\nThese files "
           "will "
           "be skipped during processing  \n\nContinue ?",
           "continue?"},
          {"QLOR has checked all files  \n\nStart analysis ?", "start?"},
          {"A N A L Y S I S    A B O R T E D  ", "aborted"},
          {"C A L C U L A T I O N    C O M P L E T E  ", "complete"}};
      std::string label = t;
      for (const auto& [text, short_name] : names) {
        if (t == text) label = short_name;
      }
      out.push_back(label);
    }
  }
  return out;
}

class BatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.write("a.dat", kSmallCsr);
    dir.write("bad.dat", "20 20 1 0 5 19\n1 1\n");
    fs::copy_file(fs::path(QLOR_GOLDEN_DIR) / "f_csr_grid_too_small" /
                      "f_csr_grid_too_small.dat",
                  dir.file("g.dat"));
  }
  // Chooses a batch file of these entries, each closed by a line feed.
  void choose(const std::vector<std::string>& names,
              const std::string& tail = "") {
    std::string text;
    for (const auto& n : names) text += (n.empty() ? "" : dir.file(n)) + "\n";
    view.input_path = view.batch_file_name = dir.write("b.bat", text + tail);
    view.batch_selected = 1;
  }

  ScriptedPlatform platform;
  FixedClock clock{1700000000};
  AppContext ctx{platform, clock};
  ViewState view;
  testing::TempDir dir;
};

TEST_F(BatchTest, PrecheckReportsEveryEntryInOrderAndWritesNothing) {
  choose({"a.dat", "missing.dat", "a.dat"});
  EXPECT_FALSE(batch_precheck(ctx, view));
  EXPECT_EQ(labels(platform),
            (Labels{"summary a.dat", "error missing.dat: File not found",
                    "summary a.dat", "has errors"}));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 4);
  platform.boxes.clear();
  choose({"a.dat", ""}, dir.file("unfinished.dat"));  // blank line counts
  EXPECT_FALSE(batch_precheck(ctx, view));
  EXPECT_EQ(labels(platform),
            (Labels{"summary a.dat", "error : File not found", "has errors"}));
  platform.boxes.clear();
  choose({"a.dat"});
  EXPECT_TRUE(batch_precheck(ctx, view));
  EXPECT_EQ(platform.boxes.back().text,
            "BATCHFILE :\tb.bat  \n\nCHECK  COMPLETE");
}

TEST_F(BatchTest, CommandsRefuseBeforeReadingAnything) {
  struct Case {
    int direction;
    std::string input_path;
    int batch_selected;
    Labels boxes;
  };
  const Case cases[] = {
      {1,
       "b.bat",
       1,
       {"Analysis considering cardinal direction not implemented in Batch File "
        "mode  \n\n- Set  'Direction'  to  'None'  to process a batch file or "
        "select Single File mode !  "}},
      {0,
       dir.file("a.dat"),
       0,
       {"Select \"SingleFile\" to analyse this file !  "}},
      {0, dir.file("gone.bat"), 1, {"QLOR - File open error!"}},
      {0, "", 0, {}},  // the open dialog cancelled
  };
  for (const auto& c : cases) {
    using Command = bool (*)(AppContext&, ViewState&);
    const Command commands[] = {batch_precheck,
                                [](AppContext& a, ViewState& v) {
                                  return batch_check_and_analyse(a, v).complete;
                                },
                                [](AppContext& a, ViewState& v) {
                                  return batch_auto_analyse(a, v).complete;
                                }};
    for (Command command : commands) {
      SCOPED_TRACE(c.input_path);
      ScriptedPlatform p;
      AppContext x(p, clock);
      ViewState xv;
      x.settings.direction_index = static_cast<Direction>(c.direction);
      xv.input_path = c.input_path;
      xv.batch_selected = c.batch_selected;
      EXPECT_FALSE(command(x, xv));
      EXPECT_EQ(p.box_texts(), c.boxes);
    }
  }
  EXPECT_FALSE(fs::exists(dir.file("gone.bat")));  // never created
}

TEST_F(BatchTest, CheckAndAnalyseDecidesAfterTheCheckPass) {
  struct Case {
    std::vector<std::string> entries;
    Answer answer;
    Labels boxes;
    std::string err;
  };
  const Case cases[] = {
      {{"a.dat"}, Answer::kNo, {"summary a.dat", "start?", "aborted"}, ""},
      {{"missing.dat", "a.dat"},
       Answer::kNo,
       {"error missing.dat: File not found", "summary a.dat", "continue?",
        "aborted"},
       ""},
      {{"bad.dat", "missing.dat"},
       Answer::kYes,
       {"error bad.dat: Value of 't_interval' is out of range  ",
        "error missing.dat: File not found", "aborted"},
       ""},
      {{}, Answer::kYes, {"aborted", "start?", "complete"}, ""},
      {{"g.dat", "missing.dat", "a.dat"},
       Answer::kYes,
       {"summary g.dat", "error missing.dat: File not found", "summary a.dat",
        "continue?", "error g.dat: " + kCsrFailure, "complete"},
       "g.dat  -  " + kCsrFailure +
           "\r\nmissing.dat  -   - File not found!\r\n"},
      // A box shows the cause of an allocation failure, the file its tag.
      {{"huge.dat", "missing.dat", "a.dat"},
       Answer::kYes,
       {"error huge.dat: number of simulations = item 6 in first record  ",
        "error missing.dat: File not found", "summary a.dat", "continue?",
        "complete"},
       "huge.dat  -  MAF:3\r\nmissing.dat  -   - File not found!\r\n"},
  };
  dir.write("huge.dat", "20 20 1 1 5 2147483647\n1 1\n5 5\n");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.boxes.front());
    platform.boxes.clear();
    platform.answers = {c.answer};
    fs::remove(dir.file("a.ktt"));
    choose(c.entries);
    EXPECT_EQ(batch_check_and_analyse(ctx, view).complete,
              c.boxes.back() == "complete");
    EXPECT_EQ(labels(platform), c.boxes);
    EXPECT_EQ(fs::exists(dir.file("a.ktt")), c.entries.size() == 3);
    EXPECT_EQ(read_bytes(dir.file("b.err")), c.err);
    EXPECT_TRUE(view.input_path.empty());
  }
}

TEST_F(BatchTest, NoOutputReplacesTheBatchFile) {
  // Batch files named like their own error file or like an entry's
  // temporary, result or test file; a test file counts only when the test
  // runs.
  struct Case {
    std::string batch;
    int significance;
    bool refused;
    FunctionKind function = FunctionKind::kL;
    TestCentre centre = TestCentre::kCsr;
  };
  const Case cases[] = {
      {"b.err", 0, true},
      {"a.ktt", 0, true},
      {"a.tmp", 0, true},
      {"a.cvm", 2, true},
      {"a.sup", 0, false},
      {"a_g.ktt", 0, true, FunctionKind::kG},
      {"a_O_mean.sup", 1, true, FunctionKind::kO, TestCentre::kMean},
      {"a_mean.cvm", 3, true, FunctionKind::kL, TestCentre::kMean},
  };
  const std::string text =
      dir.file("a.dat") + "\n" + dir.file("missing.dat") + "\n";
  for (const auto& c : cases) {
    for (auto command : {batch_check_and_analyse, batch_auto_analyse}) {
      SCOPED_TRACE(c.batch);
      for (const auto& entry : fs::directory_iterator(dir.path())) {
        const std::string name = entry.path().filename().string();
        if (name != "a.dat" && name != c.batch) fs::remove(entry.path());
      }
      ScriptedPlatform p;
      AppContext x(p, clock);
      ViewState xv;
      x.settings.significance_index = static_cast<Significance>(c.significance);
      x.settings.function = c.function;
      x.settings.test_centre = c.centre;
      xv.input_path = xv.batch_file_name = dir.write(c.batch, text);
      xv.batch_selected = 1;
      EXPECT_EQ(command(x, xv).complete, !c.refused);
      EXPECT_EQ(read_bytes(dir.file(c.batch)), text);
      if (c.refused) {
        EXPECT_EQ(p.box_texts(),
                  (std::vector<std::string>{
                      "QLOR - File write error: " + dir.file(c.batch),
                      "A N A L Y S I S    A B O R T E D  "}));
        // Nothing beside the sample file and the batch file.
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 2);
      }
    }
  }
  // The start-up run refuses silently, also when its direction refusal
  // would replace the batch file.
  for (int direction : {0, 1}) {
    ScriptedPlatform p;
    AppContext x(p, clock);
    ViewState xv;
    x.settings.autorun_pending = 1;
    x.settings.direction_index = static_cast<Direction>(direction);
    xv.input_path = xv.batch_file_name = dir.write("b.err", text);
    xv.batch_selected = 1;
    EXPECT_FALSE(batch_auto_analyse(x, xv).complete);
    EXPECT_TRUE(p.boxes.empty());
    EXPECT_EQ(read_bytes(dir.file("b.err")), text);
  }
}

TEST_F(BatchTest, AutoAnalyseShowsOnlyTheEnd) {
  choose({"g.dat", "a.dat", "missing.dat"});
  EXPECT_TRUE(batch_auto_analyse(ctx, view).complete);
  EXPECT_EQ(labels(platform), Labels{"complete"});
  EXPECT_EQ(
      read_bytes(dir.file("b.err")),
      "g.dat  -  " + kCsrFailure + "\r\nmissing.dat - File not found\r\n");
  // The start-up form shows nothing, and leaves no trace of a missing batch.
  platform.boxes.clear();
  ctx.settings.autorun_pending = 1;
  choose({"missing.dat"});
  view.input_path = view.batch_file_name = dir.file("gone.bat");
  EXPECT_FALSE(batch_auto_analyse(ctx, view).complete);
  choose({"missing.dat"});
  EXPECT_TRUE(batch_auto_analyse(ctx, view).complete);
  EXPECT_TRUE(platform.boxes.empty());
  EXPECT_FALSE(fs::exists(dir.file("gone.err")));
  EXPECT_EQ(read_bytes(dir.file("b.err")), "missing.dat - File not found\r\n");
}

TEST_F(BatchTest, TwoBarProgressCountsTheEntriesThatPassTheirChecks) {
  // 6 points, 5 distances, 20 patterns: 3600 i-j calculations per file.
  choose({"a.dat", "missing.dat", "a.dat"});
  ASSERT_TRUE(read_batch_entries(view.input_path, view.batch_entries));
  ProgressCounters counters;
  batch_check_silent(ctx, view, counters);
  EXPECT_EQ(counters.pairs_total_batch, 7200);
  batch_auto_analyse(ctx, view);
  const auto& ev = platform.progress_events;
  const auto n = [&](const char* e) {
    return std::count(ev.begin(), ev.end(), e);
  };
  EXPECT_EQ(n("text 134 FILE: a.dat  -  Status: 100% done"), 2);
  EXPECT_EQ(n("text 133 ALL FILES: - Status: 50% done"), 1);
  EXPECT_EQ(n("text 133 Status: Calculation complete"), 1);
  platform.progress_events.clear();
  ctx.settings.progress_threshold = 7200;  // not above it: no dialog
  choose({"a.dat", "a.dat"});
  batch_auto_analyse(ctx, view);
  EXPECT_EQ(n("show"), 0);
}

TEST_F(BatchTest, EachEntrySimulatesOnItsOwnLattice) {
  // The first entry's coordinates are whole tens; the second's need tenths.
  dir.write("coarse.dat", "50 50 1 1 5 19\n10 10\n20 30\n40 10\n30 40\n");
  const std::string fine =
      "50 50 1 1 5 19\n1.5 2.7\n12.1 30.3\n44.9 8.8\n25 25\n";
  dir.write("fine.dat", fine);
  choose({"coarse.dat", "fine.dat"});
  ASSERT_TRUE(batch_auto_analyse(ctx, view).complete);
  testing::TempDir alone;
  ScriptedPlatform p;
  AppContext x(p, clock);
  ViewState xv;
  xv.input_path = alone.write("fine.dat", fine);
  ASSERT_TRUE(run_single_file(x, xv).complete);
  EXPECT_EQ(read_bytes(dir.file("fine.tmp")),
            read_bytes(alone.file("fine.tmp")));
}

}  // namespace
}  // namespace qlor
