// The settings commands, their check marks and Show settings.
#include "app/setting_commands.h"

#include <gtest/gtest.h>

namespace qlor {
namespace {

TEST(SettingCommands, EachCommandSetsItsIndexAndOnlyItsCheckMark) {
  struct Case {
    int command, significance, direction, randomize;
    double threshold;
  };
  const Case cases[] = {
      {32781, 1, 0, 1, 0},          {32783, 3, 0, 1, 0},
      {32786, 0, 2, 1, 0},          {32787, 0, 3, 1, 0},
      {32784, 0, 0, 1, 0},          {32789, 0, 0, 2, 0},
      {32792, 0, 0, 1, 1000000},    {32794, 0, 0, 1, 100000000},
      {32795, 0, 0, 1, 2000000000}, {32791, 0, 0, 1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.command);
    RunSettings s;
    ASSERT_TRUE(apply_setting_command(s, c.command));
    EXPECT_EQ(index_of(s.significance_index), c.significance);
    EXPECT_EQ(index_of(s.direction_index), c.direction);
    EXPECT_EQ(index_of(s.randomize_mode), c.randomize);
    EXPECT_EQ(s.progress_threshold, c.threshold);
    for (int other = 32780; other <= 32795; ++other) {
      if (setting_group(other) == setting_group(c.command)) {
        EXPECT_EQ(is_checked(s, other), other == c.command) << other;
      }
    }
  }
  RunSettings s;
  EXPECT_FALSE(apply_setting_command(s, 32790));  // Show settings
  EXPECT_FALSE(is_checked(s, 32790));
  apply_setting_command(s, 32787);
  EXPECT_EQ(s.direction_index, Direction::kHalfPlanes);
  apply_setting_command(s, 32784);
  EXPECT_EQ(s.direction_index, Direction::kNone);
}

TEST(SettingCommands, ShowSettingsText) {
  RunSettings s;
  for (int cmd : {32783, 32786, 32789, 32795}) apply_setting_command(s, cmd);
  s.generator = GeneratorKind::kClassic;
  EXPECT_EQ(show_settings_text(s),
            "CURRENT  SETTINGS  FOR  ALL  FILES\t\n\n\nTest of Significance :\t"
            "Both tests  \n\nDirection analysed :\t\t90\xC2\xB0 Sectors - "
            "SW,NW,NE,SE\n\nRandomize :\t\tBoth species  "
            "\n\nGenerator :\t\tclassic"
            "\n\nTest centre :\t\tCSR value"
            "\n\nFunction :\t\tL(t) - t"
            "\n\nIntensity :\t\tnone"
            "\n\nNull model :\t\theader's model"
            "\n\nPairs :\t\t\tacross species");
}

}  // namespace
}  // namespace qlor
