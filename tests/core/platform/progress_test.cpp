// Progress percentages and the dialog updates.
#include "platform/progress.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "scripted_platform.h"

namespace qlor {
namespace {

TEST(ProgressPercent, RoundsByTheStepOfTheTotal) {
  struct Case {
    double total, done;
    int want;
  };
  const Case cases[] = {
      {8000000, 400000, 5},
      {8000000, 8000000, 100},
      {160, 160, 80},       // step 2: two points, two distances
      {240, 12 * 17, 102},  // step 2: 6 per pattern, 102 at the 17th
      {40, 20, 50},         // a total below 50 has step 0: no division by it
      {0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.total);
    EXPECT_EQ(progress_percent(c.total, c.done), c.want);
  }
}

TEST(ProgressDialog, OneBarCompletesAtOneHundredPercent) {
  testing::ScriptedPlatform platform;
  {
    auto dialog = create_one_bar(platform);
    dialog->show();
    update_one_bar(*dialog, 200, 100);
    update_one_bar(*dialog, 200, 200);
  }
  const std::vector<std::string> want{"create 1",
                                      "bar 1000 0",
                                      "text 131 Status: 0%",
                                      "show",
                                      "bar 1000 50",
                                      "text 131 Status: 50% done",
                                      "repaint",
                                      "bar 1000 100",
                                      "text 131 Status: 100% done",
                                      "repaint",
                                      "text 131 Status: Calculation complete",
                                      "repaint",
                                      "close"};
  EXPECT_EQ(platform.progress_events, want);
}

TEST(ProgressDialog, TwoBarNamesTheFile) {
  testing::ScriptedPlatform platform;
  auto dialog = create_two_bar(platform);
  update_two_bar(*dialog, 1000, 250, 400, 200, "plot1.dat");
  EXPECT_NE(std::find(platform.progress_events.begin(),
                      platform.progress_events.end(),
                      "text 134 FILE: plot1.dat  -  Status: 50% done"),
            platform.progress_events.end());
  EXPECT_NE(std::find(platform.progress_events.begin(),
                      platform.progress_events.end(),
                      "text 133 ALL FILES: - Status: 25% done"),
            platform.progress_events.end());
}

}  // namespace
}  // namespace qlor
