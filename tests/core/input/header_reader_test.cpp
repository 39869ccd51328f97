// The first pass: item counts, layout and record counting.
#include "input/header_reader.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qlor {
namespace {

struct HeaderCase {
  const char* label;
  std::string text;
  std::string status;
  int process_type;
  int analysis_type;
  int n_points;
};

TEST(ReadHeader, ClassesFilesAndCountsRecords) {
  const HeaderCase cases[] = {
      {"csr univariate", "100 80 1 1 20 99\n1 2\n3 4\n5 6\n", "", 0, 1, 3},
      {"crlf line ends", "100 80 1 1 20 99\r\n1 2\r\n3 4\r\n", "", 0, 1, 2},
      {"tabs separate", "100\t80\t1\t1\t20\t99\n1\t2\n", "", 0, 1, 1},
      {"ssi", "10 10 1 1 5 19 1 0\n1 2\n", "", 1, 1, 1},
      {"cluster", "10 10 1 1 5 19 1 0 2\n1 2\n", "", 2, 1, 1},
      {"bivariate", "100 80 1 1 20 99\n1 2 0\n3 4 1\n", "", 0, 2, 2},
      {"trailing blank on line 2 makes it bivariate",
       "100 80 1 1 20 99\n1 2 \n3 4 1\n", "", 0, 2, 2},
      {"empty lines before the first record",
       "100 80 1 1 20 99\n\n\n1 2\n3 4\n", "", 0, 1, 2},
      {"decimal comma stops the count",
       "100 80 1 1 20 99\n1 2\n3 4\n12,5 6\n7 8\n", "", 0, 1, 2},
      {"header only", "100 80 1 1 20 99\n", "", 0, 1, 1},
      {"line 2 without line feed", "100 80 1 1 20 99\n1 2 1", "", 0, 1, 1},
      {"trailing blank on line 1", "100 80 1 1 20 99 \n1 2\n",
       kWrongParameterCount, 0, 1, 0},
      {"double blank", "100  80 1 1 20 99\n1 2\n", kWrongParameterCount, 0, 1,
       0},
      {"seven items", "100 80 1 1 20 99 1\n1 2\n", kWrongParameterCount, 0, 1,
       0},
      {"empty first line", "\n100 80 1 1 20 99\n", kWrongParameterCount, 0, 1,
       0},
      {"empty file", "", kFileEmpty, 0, 1, 0},
      {"no line feed", "100 80 1 1 20 99", kFileEmpty, 0, 1, 0},
      {"four items on line 2", "100 80 1 1 20 99\n1 2 3 4\n",
       kLine2TooManyBlanks, 0, 1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    AnalysisState state;
    std::istringstream in(c.text);
    EXPECT_EQ(read_header(state, in, Direction::kNone, Significance::kNone),
              c.status);
    if (!c.status.empty()) continue;
    EXPECT_EQ(index_of(state.process_type), c.process_type);
    EXPECT_EQ(index_of(state.analysis_type), c.analysis_type);
    EXPECT_EQ(state.n_points, c.n_points);
  }
}

TEST(ReadHeader, RefusesUnivariateDirectionWithoutTest) {
  const std::string univariate = "100 80 1 1 20 99\n1 2\n";
  const std::string bivariate = "100 80 1 1 20 99\n1 2 0\n";
  struct Case {
    const std::string* text;
    int direction, significance;
    bool refused;
  };
  const Case cases[] = {
      {&univariate, 1, 0, true},  {&univariate, 3, 0, true},
      {&univariate, 0, 0, false}, {&univariate, 1, 2, false},
      {&bivariate, 1, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.direction << "/" << c.significance);
    AnalysisState state;
    std::istringstream in(*c.text);
    EXPECT_EQ(read_header(state, in, static_cast<Direction>(c.direction),
                          static_cast<Significance>(c.significance)) ==
                  kUnivariateDirection,
              c.refused);
  }
}

}  // namespace
}  // namespace qlor
