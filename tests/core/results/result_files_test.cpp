// Envelopes and tests of significance computed from small temporary files.
#include <gtest/gtest.h>

#include "model/decimal.h"
#include "results/result_file.h"
#include "results/significance_tests.h"
#include "results/tmp_file.h"
#include "temp_dir.h"

namespace qlor {
namespace {

using testing::read_bytes;
using testing::TempDir;

// A state of n_sims simulations at distances t = 1, 2 (t_min 1, step 1).
AnalysisState two_distances(int n_sims) {
  AnalysisState s;
  s.n_simulations = n_sims;
  s.t_min_steps = 1;
  s.t_interval = 1;
  s.last_interval = 1;
  s.t_max = 2;
  return s;
}

// A temporary file of the given blocks (each block: one value per distance).
std::string tmp_text(const std::vector<std::vector<double>>& blocks) {
  std::string text;
  for (const auto& block : blocks) {
    for (std::size_t i = 0; i < block.size(); ++i) {
      text += std::to_string(i + 1) + " " + std::to_string(block[i]) + "\r\n";
    }
  }
  return text;
}

TEST(Envelopes, MinMaxLeavesTheObservedPatternOut) {
  TempDir dir;
  AnalysisState s = two_distances(19);
  std::vector<std::vector<double>> blocks{{5, -5}};  // observed outside
  for (int k = 1; k <= 19; ++k) blocks.push_back({k * 0.1, -k * 0.1});
  const std::string tmp = dir.write("p.tmp", tmp_text(blocks));
  ASSERT_EQ(write_envelopes(s, {tmp}), "");
  EXPECT_EQ(read_bytes(dir.file("p.ktt")), "1 1.9 0.1 5\r\n2 -0.1 -1.9 -5\r\n");
}

TEST(Envelopes, StdevUsesMeanAndSampleDeviation) {
  TempDir dir;
  AnalysisState s = two_distances(100);
  std::vector<std::vector<double>> blocks{{0.25, 7}};
  // 50 values 1 and 50 values 3: mean 2, sd = sqrt(100 / 99).
  for (int k = 1; k <= 100; ++k) blocks.push_back({k % 2 ? 1.0 : 3.0, 4});
  const std::string tmp = dir.write("p.tmp", tmp_text(blocks));
  ASSERT_EQ(write_envelopes(s, {tmp}), "");
  // sd = sqrt(100 / 99) = 1.0050378, so 2 +/- 1.9698741; equal values
  // collapse to 4.
  EXPECT_EQ(read_bytes(dir.file("p.ktt")),
            "1 3.96987 0.0301259 0.25\r\n2 4 4 7\r\n");
}

// Three distances, three simulations; the mean of the simulations is
// (1, 0, 1), so the deviations from it are (0, 2, 0) for the observed
// curve, then (-1, 0, -1), (0, 1, 0) and (1, -1, 1). Suprema 2, 1, 1, 1;
// trapezoidal sums 4, 1, 1, 2, times t_max / 3 = 2 / 3.
TEST(CentredTests, MeasureDepartureFromTheMeanOfTheSimulations) {
  TempDir dir;
  AnalysisState s = two_distances(3);
  s.last_interval = 2;
  s.t_max = 2;
  const std::string tmp = dir.write(
      "p.tmp", tmp_text({{1, 2, 1}, {0, 0, 0}, {1, 1, 1}, {2, -1, 2}}));
  std::vector<double> mean;
  ASSERT_EQ(simulated_mean(s, TmpFileCurves(tmp, 4, 3), mean), "");
  EXPECT_EQ(mean, (std::vector<double>{1, 0, 1}));

  TestOutcome outcome;
  ASSERT_EQ(supremum_test(s, tmp, TestCentre::kMean, 0.0, &outcome), "");
  EXPECT_EQ(read_bytes(dir.file("p_mean.sup")),
            "3\t2\t*\r\n2\t1\r\n1\t1\r\n0\t1\r\n");
  EXPECT_EQ(format_test_outcome(outcome),
            "Supremum test, centred on the mean of the simulations: rank 1 of "
            "4, p = 0.25");
  EXPECT_EQ(outcome.file_name, dir.file("p_mean.sup"));
  ASSERT_EQ(cvm_test(s, tmp, TestCentre::kMean, 0.0, &outcome), "");
  EXPECT_EQ(read_bytes(dir.file("p_mean.cvm")),
            "3\t2.66667\t*\r\n2\t1.33333\r\n1\t0.666667\r\n"
            "0\t0.666667\r\n");
  EXPECT_EQ(outcome.rank, 1);

  // Centred on the CSR value 0 the observed supremum, 2, ties with the
  // third simulation's, and the files keep their names.
  ASSERT_EQ(supremum_test(s, tmp, TestCentre::kCsr, 0.0, &outcome), "");
  EXPECT_EQ(read_bytes(dir.file("p.sup")),
            "3\t2\t*\r\n2\t2\r\n1\t1\r\n0\t0\r\n");
  EXPECT_EQ(outcome.rank, 2);
}

TEST(CentredTests, TestFileNamesKeepTheSectorStem) {
  EXPECT_EQ(test_file_name("a/p_W4.tmp", ".sup", TestCentre::kMean),
            "a/p_W4_mean.sup");
  EXPECT_EQ(test_file_name("a/p_W4.tmp", ".cvm", TestCentre::kCsr),
            "a/p_W4.cvm");
}

TEST(Envelopes, RefuseMissingOrShortTemporaryFiles) {
  TempDir dir;
  AnalysisState s = two_distances(19);
  EXPECT_EQ(write_envelopes(s, {dir.file("missing.tmp")}), kTmpIncomplete);
  const std::string short_tmp =
      dir.write("short.tmp", tmp_text({{1, 2}, {3, 4}}));
  EXPECT_EQ(write_envelopes(s, {short_tmp}), kTmpIncomplete);
  EXPECT_EQ(supremum_test(s, short_tmp), kTmpIncomplete);
  EXPECT_EQ(cvm_test(s, short_tmp), kTmpIncomplete);
  EXPECT_EQ(supremum_test(s, short_tmp, TestCentre::kMean), kTmpIncomplete);
  s.n_simulations = 100;
  EXPECT_EQ(write_envelopes(s, {short_tmp}), kTmpIncomplete);
  EXPECT_FALSE(std::filesystem::exists(dir.file("short.ktt")));
  EXPECT_FALSE(std::filesystem::exists(dir.file("short.sup")));
}

TEST(Envelopes, ReportAResultFileThatCannotBeWritten) {
  TempDir dir;
  AnalysisState s = two_distances(19);
  std::vector<std::vector<double>> blocks(20, std::vector<double>{1, 2});
  const std::string tmp = dir.write("p.tmp", tmp_text(blocks));
  std::filesystem::create_directory(dir.file("p.ktt"));  // a folder in the way
  EXPECT_EQ(write_envelopes(s, {tmp}),
            kFileWriteError + dir.file("p.ktt") + " (Is a directory)");
}

TEST(Statistics, SupremumAndCramerVonMises) {
  EXPECT_EQ(supremum_statistic({0.5, -0.8, 0.3}), 0.8);
  EXPECT_EQ(supremum_statistic({-0.25}), 0.25);
  // Deviations 1, 2, 1 at t = 0, 1, 2: Q = 0.5 + 4 + 0.5, C = 5 / 3 * 2.
  EXPECT_NEAR(cvm_statistic({1, 2, 1}, 2), 10.0 / 3, 1e-15);
  EXPECT_EQ(cvm_statistic({0, 0, 0}, 2), 0.0);
  EXPECT_EQ(cvm_statistic({2}, 3), 6.0);  // one distance: v^2 / 2 * t_max
}

TEST(RankedStatistics, MarksTheFirstLineEqualToTheObserved) {
  struct Case {
    std::vector<double> stats;  // observed first
    std::string want;
  };
  const Case cases[] = {
      {{3, 1, 2}, "2\t3\t*\r\n1\t2\r\n0\t1\r\n"},
      {{1, 3, 2}, "2\t3\r\n1\t2\r\n0\t1\t*\r\n"},
      {{2, 2, 1}, "2\t2\t*\r\n1\t2\r\n0\t1\r\n"},  // tie: first line only
      {{10.0 / 3, 0}, "1\t3.33333\t*\r\n0\t0\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.want);
    EXPECT_EQ(format_ranked_statistics(c.stats), c.want);
  }
}

TEST(TmpFile, ReaderAcceptsBothLineEndsAndThreeDigitExponents) {
  TempDir dir;
  const std::string path =
      dir.write("v.tmp", "1 1.5e-005\n2 -2e+006\r\n3 +4\n");
  TmpFileReader reader;
  ASSERT_TRUE(reader.open(path));
  std::vector<double> values(3);
  ASSERT_TRUE(reader.read_block(values));
  EXPECT_EQ(values, (std::vector<double>{1.5e-5, -2e6, 4}));
  EXPECT_TRUE(reader.at_end());

  double v = 0;
  for (const char* bad : {"nan", "inf", "0x10", "1,5", "", "-"}) {
    EXPECT_FALSE(parse_decimal(bad, v)) << bad;
  }
}

}  // namespace
}  // namespace qlor
