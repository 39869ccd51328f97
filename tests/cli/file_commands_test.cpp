// The console's file commands: export to CSV, import from CSV (and the
// analysis of an imported file), plot, and the p-value lines of a run.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>

#include "cli/cli_app.h"
#include "cli_fixture.h"
#include "temp_dir.h"

namespace qlor {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;

using Result = testing::CliResult;
using FileCommandsTest = testing::CliFixture;

TEST_F(FileCommandsTest, ExportWritesHeaderAndValuesAsWritten) {
  dir.write("p.ktt", "1 0.5 -0.5 0.25\r\n2 1.2e-005 -1 -2\r\n");
  dir.write("p.sup", "2\t0.9\r\n1\t0.5\t*\r\n0\t0.5\r\n");
  dir.write("bad.cvm", "2\t0.9\r\n1\t0.5\t#\r\n");
  Result r = run({"export", "p.ktt"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out,
            "t,upper,lower,observed\n1,0.5,-0.5,0.25\n2,1.2e-005,-1,-2\n");
  r = run({"export", "p.sup", "-o", "sup.csv"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(read_bytes("sup.csv"),
            "rank,statistic,observed\n2,0.9,0\n1,0.5,1\n0,0.5,0\n");
  struct Case {
    const char* file;
    int code;
    const char* said;
  };
  const Case failures[] = {
      {"bad.cvm", 1, "bad.cvm: line 2 is not 'rank statistic [*]'"},
      {"none.ktt", 1, "cannot open 'none.ktt'"},
      {"p.dat", 2, "export takes a result file"},
  };
  for (const auto& c : failures) {
    SCOPED_TRACE(c.file);
    r = run({"export", c.file});
    EXPECT_EQ(r.code, c.code);
    EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
  }
}

// The same six points, written by hand as a sample data file and kept in a
// spreadsheet's CSV: importing the CSV gives the same file and the same
// analysis.
TEST_F(FileCommandsTest, ImportedCsvAnalysesLikeTheHandWrittenFile) {
  const std::string hand =
      "20 20 1 1 5 19\n1 1 0\n5 5 1\n9.5 3 0\n12 17 1\n3 14 0\n17.5 8 1\n";
  dir.write("p.dat", hand);
  dir.write("points.csv",
            "id;\"Species\";X;Y\r\n1;oak;1;1\r\n2;\"beech\";5;5.0\r\n"
            "3;oak;9.50;3\r\n4;beech;12;17\r\n\r\n5;oak;3;14\r\n"
            "6;\"beech\";17.5;8\r\n");
  Result r = run({"import",        "points.csv", "--x",        "X",
                  "--y",           "Y",          "--species",  "Species",
                  "--species1",    "oak",        "--species2", "*",
                  "--plot",        "20x20",      "--t",        "1:1:5",
                  "--simulations", "19",         "-o",         "q.dat"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(read_bytes("q.dat"), hand);
  for (const char* file : {"p.dat", "q.dat"}) {
    r = run({"single", file, "--yes", "--seed", "1700000021", "--significance",
             "both"});
    ASSERT_EQ(r.code, 0) << file;
  }
  for (const char* ext : {".tmp", ".ktt", ".sup", ".cvm"}) {
    SCOPED_TRACE(ext);
    const std::string p = read_bytes(std::string("p") + ext);
    EXPECT_FALSE(p.empty());
    EXPECT_EQ(read_bytes(std::string("q") + ext), p);
  }
}

TEST_F(FileCommandsTest, ImportRefusesBadRowsAndBadUsage) {
  dir.write("ok.csv", "x,y\n1,1\n2,2\n");
  dir.write("text.csv", "x,y\n1,1\n2,two\n");
  dir.write("outside.csv", "x,y\n1,1\n2,2\n20.5,3\n");
  const auto import = [&](const char* csv, const char* plot,
                          std::vector<const char*> extra) {
    std::vector<const char*> args{"import", csv,    "--x",           "x",
                                  "--y",    "y",    "--simulations", "19",
                                  "-o",     "o.dat"};
    if (plot) args.insert(args.end(), {"--plot", plot});
    args.insert(args.end(), extra.begin(), extra.end());
    return run(args);
  };
  struct Case {
    const char* csv;
    const char* plot;  // nullptr: not given
    std::vector<const char*> extra;
    int code;
    const char* said;
  };
  const Case cases[] = {
      {"text.csv", "20x20", {"--t", "1:1:5"}, 1, "text.csv: row 3:"},
      {"outside.csv", "20x20", {"--t", "1:1:5"}, 1, "row 4: point (20.5, 3)"},
      {"none.csv", "20x20", {"--t", "1:1:5"}, 1, "cannot open 'none.csv'"},
      {"ok.csv", "20 by 20", {"--t", "1:1:5"}, 2, "--plot takes"},
      {"ok.csv", "0x20", {"--t", "1:1:5"}, 2, "--plot takes"},
      {"ok.csv", "5:5,0:20", {"--t", "1:1:5"}, 2, "--plot takes"},
      {"ok.csv", "0:20,0", {"--t", "1:1:5"}, 2, "--plot takes"},
      {"ok.csv",
       "20x20",
       {"--t", "1:1:5", "--duplicates", "jitter:0"},
       2,
       "jitter:R takes a positive radius"},
      {"ok.csv", nullptr, {"--t", "1:1:5"}, 2, "--plot is required"},
      {"ok.csv", "20x20", {"--t", "1:0:5"}, 2, "--t takes"},
      {"ok.csv", "20x20", {"--t", "1:1"}, 2, "--t takes"},
      {"ok.csv", "20x20", {"--t", "1:1:5", "--c", "1"}, 2, "--c belongs"},
      {"ok.csv", "20x20", {"--t", "1:1:5", "--where", "x"}, 2, "--where takes"},
      {"ok.csv",
       "20x20",
       {"--t", "1:1:5", "--duplicates", "keep"},
       2,
       "--duplicates"},
      {"ok.csv",
       "20x20",
       {"--t", "1:1:5", "--mark-threshold", "dbh"},
       2,
       "--mark-threshold takes"},
      {"ok.csv", "20x20", {"--t", "1:1:5", "--species", "x"}, 2, "species1"},
      {"ok.csv",
       "20x20",
       {"--t", "1:1:5", "--cluster", "1", "--c", "1"},
       2,
       "--centers"},
      {"ok.csv",
       "20x20",
       {"--t", "1:1:5", "--inhibition", "1", "--cluster", "1", "--c", "1"},
       2,
       "excludes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.said);
    const Result r = import(c.csv, c.plot, c.extra);
    EXPECT_EQ(r.code, c.code);
    EXPECT_NE((r.err + r.out).find(c.said), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists("o.dat"));
  }
  // The cluster model's header items follow the six of every file.
  const Result r = import(
      "ok.csv", "20x10",
      {"--t", "1:1:5", "--cluster", "2.5", "--c", "0.5", "--centers", "3"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(read_bytes("o.dat"), "20 10 1 1 5 19 2.5 0.5 3\n1 1\n2 2\n");
  // An existing output file stays unless --force is given.
  const Result again = import("ok.csv", "20x20", {"--t", "1:1:5"});
  EXPECT_EQ(again.code, 1);
  EXPECT_NE(again.err.find("'o.dat' exists; give --force"), std::string::npos);
  EXPECT_EQ(read_bytes("o.dat"), "20 10 1 1 5 19 2.5 0.5 3\n1 1\n2 2\n");
  EXPECT_EQ(import("ok.csv", "20x20", {"--t", "1:1:5", "--force"}).code, 0);
  EXPECT_EQ(read_bytes("o.dat"), "20 20 1 1 5 19\n1 1\n2 2\n");
  // What a condition leaves out is reported.
  const Result kept =
      import("ok.csv", "20x20", {"--t", "1:1:5", "--where", "x>1", "--force"});
  EXPECT_EQ(kept.code, 0) << kept.err;
  EXPECT_NE(kept.err.find("with 1 points; 1 rows left out by --where"),
            std::string::npos)
      << kept.err;
  EXPECT_EQ(read_bytes("o.dat"), "20 20 1 1 5 19\n2 2\n");
  EXPECT_NE(kept.err.find("qlor: coordinate step 2: simulated points"),
            std::string::npos)
      << kept.err;
  EXPECT_NE(kept.err.find("warning: the step 2 is coarse"), std::string::npos)
      << kept.err;
}

// A survey in UTM coordinates: import moves it to the plot's corner and
// keeps the origin beside the sample file, and saved patterns come back in
// the survey's coordinates (random labelling keeps every position).
TEST_F(FileCommandsTest, ImportedOriginGivesSavedPatternsTheirCoordinates) {
  const char* rows[] = {"634501.25,5100002.5,a", "634510.5,5100010.75,b",
                        "634519.75,5100019.5,a", "634505,5100015.25,b",
                        "634520,5100003,a",      "634512.5,5100020,b"};
  std::string csv = "x,y,sp\n";
  for (const char* row : rows) csv.append(row).append("\n");
  dir.write("utm.csv", csv);
  const std::vector<const char*> import = {"import",
                                           "utm.csv",
                                           "--x",
                                           "x",
                                           "--y",
                                           "y",
                                           "--species",
                                           "sp",
                                           "--species1",
                                           "a",
                                           "--species2",
                                           "b",
                                           "--simulations",
                                           "19",
                                           "--t",
                                           "1:1:5",
                                           "--plot",
                                           "634500:634520,5100000:5100020",
                                           "-o",
                                           "u.dat"};
  Result r = run(import);
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(read_bytes("u.dat"),
            "20 20 1 1 5 19\n1.25 2.5 0\n10.5 10.75 1\n19.75 19.5 0\n"
            "5 15.25 1\n19.95 3 0\n12.5 19.95 1\n");
  EXPECT_NE(r.err.find("2 points on the plot's upper or right edge moved in"),
            std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("points moved by (-634500, -5100000)"),
            std::string::npos)
      << r.err;
  EXPECT_EQ(read_bytes("u.origin").substr(read_bytes("u.origin").find("\nx")),
            "\nx 634500\ny 5100000\n");
  r = run({"single", "u.dat", "--yes", "--seed", "7", "--null", "labels",
           "--save-patterns", "u_patterns.csv"});
  ASSERT_EQ(r.code, 0) << r.err;
  std::istringstream saved(read_bytes("u_patterns.csv"));
  std::string line;
  std::getline(saved, line);
  EXPECT_EQ(line, "pattern,x,y,species");
  std::set<std::string> positions;
  int count = 0;
  while (std::getline(saved, line)) {
    ++count;
    positions.insert(
        line.substr(line.find(',') + 1, line.rfind(',') - line.find(',') - 1));
  }
  EXPECT_EQ(count, 19 * 6);
  // The two edge points come back one step (0.05) inside the plot.
  EXPECT_EQ(positions, (std::set<std::string>{
                           "634501.25,5100002.5", "634510.5,5100010.75",
                           "634519.75,5100019.5", "634505,5100015.25",
                           "634519.95,5100003", "634512.5,5100019.95"}));

  // The origin file is not written over without --force, and an import
  // without an offset removes it.
  r = run(import);
  EXPECT_EQ(r.code, 1);
  std::vector<const char*> again = import;
  again.insert(again.end(), {"--force"});
  again[again.size() - 4] = "20x20";
  dir.write("utm.csv", "x,y,sp\n1,1,a\n2,2,b\n");
  r = run(again);
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_FALSE(fs::exists("u.origin"));
}

// Duplicates moved by a seeded jitter: the same seed, the same file.
TEST_F(FileCommandsTest, ImportJittersDuplicatesRepeatably) {
  dir.write("d.csv", "x,y\n1.5,1.5\n1.5,1.5\n1.5,1.5\n3,3\n");
  const auto import = [&](const char* seed, const char* out) {
    return run({"import", "d.csv", "--x", "x", "--y", "y", "--plot", "10x10",
                "--t", "1:1:2", "--simulations", "19", "--duplicates",
                "jitter:0.5", "--seed", seed, "-o", out});
  };
  Result r = import("3", "a.dat");
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.err.find("2 duplicated positions moved within 0.5 (seed 3)"),
            std::string::npos)
      << r.err;
  ASSERT_EQ(import("3", "b.dat").code, 0);
  ASSERT_EQ(import("4", "c.dat").code, 0);
  EXPECT_EQ(read_bytes("a.dat"), read_bytes("b.dat"));
  EXPECT_NE(read_bytes("a.dat"), read_bytes("c.dat"));
  EXPECT_EQ(read_bytes("a.dat").substr(0, 23), "10 10 1 1 2 19\n1.5 1.5\n");
}

// A temporary file of 19 simulations at one distance: the observed value
// 0.5; three simulations deviate further (0.9, -0.7, 0.6) and one as far
// (-0.5), so four statistics beat or tie it: rank 5 of 20, p = 0.25 for
// both tests (at one distance the Cramer-von Mises statistic is v^2 / 2).
TEST_F(FileCommandsTest, RunWithTestsPrintsRankAndPValue) {
  dir.write("s.dat", "20 20 1 1 1 19\n1 1\n5 5\n9.5 3\n12 17\n");
  std::string tmp = "1 0.5\r\n1 0.9\r\n1 -0.7\r\n1 0.6\r\n1 -0.5\r\n";
  for (int k = 0; k < 15; ++k) tmp += "1 0.1\r\n";
  dir.write("s.tmp", tmp);
  const Result r = run({"significance", "s.tmp", "--significance", "both"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("\nSupremum test: rank 5 of 20, p = 0.25\n"
                       "Cramer-von Mises test: rank 5 of 20, p = 0.25\n"),
            std::string::npos)
      << r.out;
  // The test files keep their layout: no p-value in them.
  EXPECT_EQ(read_bytes("s.sup").substr(0, 24),
            "19\t0.9\r\n18\t0.7\r\n17\t0.6\r\n");
}

#ifdef QLOR_WITH_PLOT
TEST_F(FileCommandsTest, PlotWritesSvgOrPng) {
  dir.write("p.ktt", "1 1 -1 0.5\r\n2 1 -1 -0.5\r\n");
  Result r = run({"plot", "p.ktt"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(read_bytes("p.svg").substr(0, 5), "<?xml");
  r = run({"plot", "p.ktt", "-o", "p.png", "--size", "300x200"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(read_bytes("p.png").substr(1, 3), "PNG");
  struct Case {
    std::vector<const char*> args;
    int code;
  };
  const Case failures[] = {
      {{"plot", "none.ktt"}, 1},
      {{"plot", "p.ktt", "-o", "p.jpg"}, 2},
      {{"plot", "p.ktt", "--size", "10"}, 2},
      {{"plot"}, 2},
  };
  for (const auto& c : failures) {
    SCOPED_TRACE(c.args.back());
    EXPECT_EQ(run(c.args).code, c.code);
  }
}
#endif

}  // namespace
}  // namespace qlor
