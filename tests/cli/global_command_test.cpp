// qlor global and qlor plot --global on a run worked out by hand.
#include <gtest/gtest.h>

#include <filesystem>

#include "cli_fixture.h"
#include "temp_dir.h"

namespace qlor {
namespace {

namespace fs = std::filesystem;
using testing::read_bytes;
using Result = testing::CliResult;

// One distance, the observed 0.5 and 19 simulations 0.9 -0.7 0.6 -0.5 and
// fifteen times 0.1. Ranks from below: -0.7 1, -0.5 2, 0.1 10 (3 to 17),
// 0.5 18, 0.6 19, 0.9 20; two-sided min(r, 21 - r): 1 2 10 3 2 1. Five
// curves have a rank of at most 3: p = 5/20. At alpha 0.25 those five go
// and the band is 0.1 to 0.1; at alpha 0.05 none goes (the two most
// extreme share rank 1, p = 2/20 each).
class GlobalCommandTest : public testing::CliFixture {
 protected:
  void SetUp() override {
    CliFixture::SetUp();
    dir.write("s.dat", "20 20 1 1 1 19\n1 1\n5 5\n9.5 3\n12 17\n");
    tmp = "1 0.5\r\n1 0.9\r\n1 -0.7\r\n1 0.6\r\n1 -0.5\r\n";
    for (int k = 0; k < 15; ++k) tmp += "1 0.1\r\n";
    dir.write("s.tmp", tmp);
    dir.write("s.ktt", "1 0.9 -0.7 0.5\r\n");
  }
  std::string tmp;
};

TEST_F(GlobalCommandTest, PrintsPAndRangesAndWritesTheEnvelope) {
  Result r = run({"global", "s.tmp", "--alpha", "0.25"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "Global envelope test (extreme rank length): p = 0.25 (19 "
            "simulations)\n"
            "outside at t = 1 (above)\n"
            "note: 19 simulations are few for the 75 % global envelope (at "
            "least 499 are advised); the p-value is valid with fewer\n");
  EXPECT_EQ(read_bytes("s_global.csv"),
            "t,lower,upper,observed\n1,0.1,0.1,0.5\n");

  r = run({"global", "s.tmp", "-o", "g.csv"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("\ninside the 95 % global envelope at every t\n"),
            std::string::npos)
      << r.out;
  EXPECT_TRUE(r.said("spans every curve"));
  EXPECT_EQ(read_bytes("g.csv"), "t,lower,upper,observed\n1,-0.7,0.9,0.5\n");
  // The run's own files stay as they were.
  EXPECT_EQ(read_bytes("s.tmp"), tmp);
  EXPECT_EQ(read_bytes("s.ktt"), "1 0.9 -0.7 0.5\r\n");
}

TEST_F(GlobalCommandTest, RefusesBadFilesAndWritesNothing) {
  dir.write("short.dat", "20 20 1 1 1 19\n1 1\n");
  dir.write("short.tmp", tmp.substr(0, tmp.size() - 7));
  struct Case {
    std::vector<const char*> args;
    int code;
    const char* said;
  };
  const Case cases[] = {
      {{"global", "short.tmp"},
       1,
       "QLOR - Temporary file incomplete or unreadable !"},
      {{"global", "s.tmp", "-o", "s.tmp"}, 1, "is the run's own file"},
      {{"global", "s.tmp", "--alpha", "1"}, 2, "between 0 and 1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.back());
    const Result r = run(c.args);
    EXPECT_EQ(r.code, c.code);
    EXPECT_TRUE(r.said(c.said)) << r.err;
  }
  EXPECT_FALSE(fs::exists("short_global.csv"));
  EXPECT_EQ(read_bytes("s.tmp"), tmp);
}

#ifdef QLOR_WITH_PLOT
TEST_F(GlobalCommandTest, PlotDrawsTheGlobalBandBesideThePointwiseFigure) {
  Result r = run({"plot", "s.ktt", "--global", "--alpha", "0.25"});
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string svg = read_bytes("s_global.svg");
  EXPECT_NE(svg.find("global ERL 75 %, p = 0.25"), std::string::npos);
  EXPECT_NE(svg.find("#dc0000"), std::string::npos);  // the red point
  EXPECT_FALSE(fs::exists("s.svg"));
  dir.write("s.tmp", tmp.substr(0, tmp.size() - 7));
  r = run({"plot", "s.ktt", "--global"});
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(
      r.said("s.tmp: QLOR - Temporary file incomplete or unreadable !"));
  EXPECT_EQ(run({"plot", "s.ktt", "--alpha", "0.1"}).code, 2);  // no --global
}

// The program hands plot to qlor-plot: the same command gives the same
// figure, exit status and message as in this process.
TEST_F(GlobalCommandTest, TheProgramPassesPlotOnWhole) {
  fs::copy_file("s.ktt", "-s.ktt");
  fs::copy_file("s.tmp", "-s.tmp");
  fs::copy_file("s.dat", "-s.dat");
  struct Case {
    std::vector<const char*> args;
    const char* image;  // written, or "" for none
    int code;
    const char* said;
  };
  const Case cases[] = {
      {{"plot", "s.ktt", "--global", "--alpha", "0.25", "--size", "400x300"},
       "s_global.svg",
       0,
       "wrote"},
      {{"plot", "-o", "f.png", "--", "-s.ktt"}, "f.png", 0, "wrote 'f.png'"},
      {{"plot", "none.ktt"}, "", 1, "Cannot open none.ktt"},
      {{"plot", "s.ktt", "-o", "s.jpg"}, "", 2, "not 's.jpg'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[1]);
    const Result in_process = run(c.args);
    std::string image;
    if (*c.image) {
      image = read_bytes(c.image);
      fs::remove(c.image);
    }
    const Result program = run_program(c.args);
    EXPECT_EQ(program.code, c.code);
    EXPECT_EQ(in_process.code, c.code);
    EXPECT_EQ(program.err, in_process.err);
    EXPECT_NE(program.err.find(c.said), std::string::npos) << program.err;
    if (*c.image) {
      EXPECT_EQ(read_bytes(c.image), image);
    }
  }
}
#endif

}  // namespace
}  // namespace qlor
