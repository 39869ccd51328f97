// What a run's file name says: its function, pairs, null model and sample.
#include "analysis/run_name.h"

#include <gtest/gtest.h>

namespace qlor {
namespace {

TEST(RunName, ReadsTheSuffixesOffTheStem) {
  struct Case {
    const char* path;
    FunctionKind function;
    PairSet pairs;
    NullKind null_kind;
    const char* sample;
  };
  const Case cases[] = {
      {"runs/plot1_g.tmp", FunctionKind::kG, PairSet::kCross, NullKind::kHeader,
       "runs/plot1.dat"},
      {"plot1_O.ktt", FunctionKind::kO, PairSet::kCross, NullKind::kHeader,
       "plot1.dat"},
      {"plot1.tmp", FunctionKind::kL, PairSet::kCross, NullKind::kHeader, ""},
      // A folder's name and a sector suffix say nothing.
      {"a_g/plot1_W4.tmp", FunctionKind::kL, PairSet::kCross, NullKind::kHeader,
       ""},
      // A suffix alone is a name, not a suffix.
      {"_g.tmp", FunctionKind::kL, PairSet::kCross, NullKind::kHeader, ""},
      {"plot2_g22_labels.ktt", FunctionKind::kG, PairSet::k22,
       NullKind::kLabels, "plot2.dat"},
      {"plot2_L11.tmp", FunctionKind::kL, PairSet::k11, NullKind::kHeader,
       "plot2.dat"},
      {"plot2_shift.tmp", FunctionKind::kL, PairSet::kCross, NullKind::kShift,
       "plot2.dat"},
      {"st0.7_Linhom.tmp", FunctionKind::kLinhom, PairSet::kCross,
       NullKind::kHeader, "st0.7.dat"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const RunName name = parse_run_name(c.path);
    EXPECT_EQ(name.function, c.function);
    EXPECT_EQ(name.pairs, c.pairs);
    EXPECT_EQ(name.null_kind, c.null_kind);
    EXPECT_EQ(name.sample_path, c.sample);
  }
}

}  // namespace
}  // namespace qlor
