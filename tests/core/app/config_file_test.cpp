// The configuration file: setting and path lines, the automatic-run request
// and the messages for faulty lines.
#include "app/config_file.h"

#include <gtest/gtest.h>

#include <sstream>

#include "scripted_platform.h"
#include "temp_dir.h"

namespace qlor {
namespace {

using testing::ScriptedPlatform;

std::string unknown(int line) {
  return "QLOR.INI :\n\nUnknown parameter in line " + std::to_string(line) +
         "  \n\nDefault value set";
}

TEST(ConfigFile, ReadsSettingsPathsAndAutorunRequests) {
  struct Case {
    std::string content;
    int significance, direction, randomize, autorun, batch_selected;
    std::string input_path;
    std::vector<std::string> boxes;
  };
  const std::string long_path(300, 'p');
  const Case cases[] = {
      {"significance = 2\n", 2, 0, 1, 0, 0, "", {}},
      {"Di rection=2\nRANDOMIZE=2\n", 0, 2, 2, 0, 0, "", {}},
      {"SIGNIFICANCE=1\nSIGNIFICANCE=3\n", 3, 0, 1, 0, 0, "", {}},  // later
                                                                    // wins
      {"RANDOMIZE=0\n",
       0,
       0,
       1,
       0,
       0,
       "",
       {"QLOR.INI :\n\nValue out of range, line 1  \n\nDefault value set"}},
      {"SIGNIFICANCE=12\n", 0, 0, 1, 0, 0, "", {unknown(1)}},
      {"SIGNIFICANCE=1\nDIRECTION=1\nFOO=1\n", 1, 1, 1, 0, 0, "", {unknown(3)}},
      {"SIGNIFICANCE=1\n  \nRANDOMIZE=2\n", 1, 0, 1, 0, 0, "", {}},  // blank
                                                                     // ends
      {"SIGNIFICANCE=2\r\n\r\nDIRECTION=1\r\n", 2, 0, 1, 0, 0, "", {}},
      {"DIRECTION=1\nSIGNIFICANCE=3", 0, 1, 1, 0, 0, "", {}},  // no line feed
      {"INFILE=C:\\plots\\plot 1.dat\n",
       0,
       0,
       1,
       0,
       0,
       "C:\\plots\\plot1.dat",
       {}},
      {"infile=" + long_path + "\n", 0, 0, 1, 0, 0, long_path, {}},
      {"INFILE a.dat\nX\n", 0, 0, 1, 0, 0, "", {unknown(1), unknown(2)}},
      {"AUTORUN=1\nINFILE=runs/b.bat\n", 0, 0, 1, 1, 1, "runs/b.bat", {}},
      {"INFILE=p.DAT\nautoexec=1\n", 0, 0, 1, 1, 0, "p.DAT", {}},
      {"AUTORUN=1\nINFILE=B.BAT\n",
       0,
       0,
       1,
       1,
       0,
       "B.BAT",
       {}},  // case-sensitive
      {"INFILE=b.bat\nAUTORUN=0\n", 0, 0, 1, 0, 0, "b.bat", {}},
      {"AUTOEXEC=1\n",
       0,
       0,
       1,
       0,
       0,
       "",
       {"QLOR.INI :\n\nAUTORUN without INFILE ignored  "}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.content);
    ScriptedPlatform platform;
    FixedClock clock(0);
    AppContext ctx(platform, clock);
    ViewState view;
    std::istringstream in(c.content);
    read_config(ctx, view, in);
    EXPECT_EQ(index_of(ctx.settings.significance_index), c.significance);
    EXPECT_EQ(index_of(ctx.settings.direction_index), c.direction);
    EXPECT_EQ(index_of(ctx.settings.randomize_mode), c.randomize);
    EXPECT_EQ(ctx.settings.autorun_pending, c.autorun);
    EXPECT_EQ(view.batch_selected, c.batch_selected);
    EXPECT_EQ(view.batch_file_name, c.batch_selected ? c.input_path : "");
    EXPECT_EQ(view.input_path, c.input_path);
    EXPECT_EQ(platform.box_texts(), c.boxes);
  }
}

TEST(ConfigFile, ReadsTheWordSettings) {
  const std::string out_of_range =
      "QLOR.INI :\n\nValue out of range, line 1  \n\nDefault value set";
  struct Case {
    std::string content;
    GeneratorKind generator;
    TestCentre centre;
    std::vector<std::string> boxes;
  };
  const Case cases[] = {
      {"GENERATOR=classic\n", GeneratorKind::kClassic, TestCentre::kCsr, {}},
      {"generator = Classic\nGENERATOR=philox\n",
       GeneratorKind::kPhilox,
       TestCentre::kCsr,
       {}},
      {"CENTRE=mean\n", GeneratorKind::kPhilox, TestCentre::kMean, {}},
      {"GENERATOR=mt\n",
       GeneratorKind::kPhilox,
       TestCentre::kCsr,
       {out_of_range}},
      {"CENTRE=1\n", GeneratorKind::kPhilox, TestCentre::kCsr, {out_of_range}},
      {"GENERATOR\n", GeneratorKind::kPhilox, TestCentre::kCsr, {unknown(1)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.content);
    ScriptedPlatform platform;
    FixedClock clock(0);
    AppContext ctx(platform, clock);
    ViewState view;
    std::istringstream in(c.content);
    read_config(ctx, view, in);
    EXPECT_EQ(ctx.settings.generator, c.generator);
    EXPECT_EQ(ctx.settings.test_centre, c.centre);
    EXPECT_EQ(platform.box_texts(), c.boxes);
  }
}

TEST(ConfigFile, MissingFileKeepsTheDefaults) {
  testing::TempDir dir;
  for (const std::string& path : {dir.file("qlor.ini"), dir.path().string()}) {
    ScriptedPlatform platform;
    FixedClock clock(0);
    AppContext ctx(platform, clock);
    ViewState view;
    view.input_path = "left over";
    read_config_file(ctx, view, path);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].text,
              "File  'QLOR.INI'  not found - using default settings  ");
    EXPECT_EQ(platform.boxes[0].icon, Icon::kStop);
    EXPECT_TRUE(view.input_path.empty());
  }
}

}  // namespace
}  // namespace qlor
