// Derived file names and the number format of the output files.
#include "results/file_names.h"

#include <gtest/gtest.h>

#include "results/number_format.h"

namespace qlor {
namespace {

TEST(ChangeExtension, ReplacesTheNamesLastExtensionOnly) {
  struct Case {
    std::string_view path, ext, want;
  };
  const Case cases[] = {
      {R"(C:\plots\a1.dat)", ".ktt", R"(C:\plots\a1.ktt)"},
      // Dots in folders and stems stay: the files stay beside the sample,
      // and st0.7 and st0.99 do not both become st0.
      {R"(C:\run1.2\a1.dat)", ".ktt", R"(C:\run1.2\a1.ktt)"},
      {"run1.2/a1.dat", ".tmp", "run1.2/a1.tmp"},
      {"a.b/plot.v2.dat", ".ktt", "a.b/plot.v2.ktt"},
      {"st0.7.dat", "_g.tmp", "st0.7_g.tmp"},
      {"st0.99.dat", ".ktt", "st0.99.ktt"},
      {"a.b/noext", ".tmp", "a.b/noext.tmp"},
      {"noext", ".tmp", "noext.tmp"},
      {"./a1.dat", ".ktt", "./a1.ktt"},
      {"../d/a1.dat", ".ktt", "../d/a1.ktt"},
      {"d/.cache/p.dat", ".ktt", "d/.cache/p.ktt"},
      {".hidden", ".tmp", ".hidden.tmp"},
      {"..", ".tmp", "...tmp"},
      {"a.b.c", ".err", "a.b.err"},
      {"/tmp/x/p_W4.tmp", ".ktt", "/tmp/x/p_W4.ktt"},
      {"/tmp/x/p.tmp", "_N4.tmp", "/tmp/x/p_N4.tmp"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(change_extension(c.path, c.ext), c.want);
  }
}

TEST(PathTitle, TakesWhatFollowsTheLastSeparator) {
  EXPECT_EQ(path_title(R"(C:\plots\a1.dat)"), "a1.dat");
  EXPECT_EQ(path_title("/home/u/plots/a1.dat"), "a1.dat");
  EXPECT_EQ(path_title("a1.dat"), "a1.dat");
  EXPECT_EQ(path_title("dir/"), "");
}

TEST(FormatG, PrintsSixSignificantDigitsWithThreeDigitExponents) {
  struct Case {
    double v;
    const char* want;
  };
  const Case cases[] = {
      {0.000012345, "1.2345e-005"},
      {1000000, "1e+006"},
      {0.5, "0.5"},
      {2.0, "2"},
      {-0.215876, "-0.215876"},
      {123456789, "1.23457e+008"},
      {1e-300, "1e-300"},
      {0.0001, "0.0001"},
      {-1, "-1"},
      {1e100, "1e+100"},
      {0.1 + 0.2, "0.3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.want);
    EXPECT_EQ(format_g(c.v), c.want);
  }
}

}  // namespace
}  // namespace qlor
