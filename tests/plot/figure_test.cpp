// The figure of a result file: which files it draws, its title, and the
// structure of the SVG and PNG images (not their exact pixels).
#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>
#include <QString>
#include <algorithm>
#include <cmath>

#include "plot/figure_painter.h"
#include "plot/global_figure.h"
#include "plot/gui_application.h"
#include "plot/result_figure.h"
#include "temp_dir.h"

namespace qlor {
namespace {

using testing::TempDir;

// t = 1..4; the envelope is 1 .. -1 everywhere, the observed curve stays
// near the upper edge so that the middle of the band is clear of it.
constexpr const char* kResult =
    "1 1 -1 0.9\r\n2 1 -1 0.8\r\n3 1 -1 0.9\r\n4 1 -1 0.8\r\n";

class FigureTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ensure_gui_application();
  }
  TempDir dir;
};

TEST_F(FigureTest, ResultTextIsCheckedLineByLine) {
  struct Case {
    const char* text;
    const char* error;  // empty: accepted
  };
  const Case cases[] = {
      {"1 2 -2 0.5\r\n\r\n2 2 -2 1e-005\n", ""},
      {"1 2 -2 0.5\n2 2 -2\n", "line 2 is not 't upper lower observed'"},
      {"1 2 x 0.5\n", "line 1 is not 't upper lower observed'"},
      {"1 2 -2 0.5 7\n", "line 1 is not 't upper lower observed'"},
      {"\r\n", "the file holds no values"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    ResultSeries s;
    EXPECT_EQ(parse_result_text(c.text, s), c.error);
  }
  ResultSeries s;
  ASSERT_EQ(parse_result_text(cases[0].text, s), "");
  EXPECT_EQ(s.t, (std::vector<double>{1, 2}));
  EXPECT_EQ(s.observed, (std::vector<double>{0.5, 1e-5}));
}

TEST_F(FigureTest, TitleNamesTheFileAndTheEnvelopeOfTheSampleFile) {
  struct Case {
    const char* sample;  // nullptr: no sample data file
    const char* title;
  };
  const Case cases[] = {
      {"10 10 1 1 4 19\n1 1\n", "p.ktt - max/min envelope of 19 simulations"},
      {"10 10 1 1 4 99\n1 1\n", "p.ktt - max/min envelope of 99 simulations"},
      {"10 10 1 1 4 100 2 0.5\n1 1\n",
       "p.ktt - mean ± 1.96 sd envelope of 100 simulations"},
      {"garbage\n", "p.ktt"},
      {nullptr, "p.ktt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    TempDir d;
    d.write("p.ktt", kResult);
    if (c.sample) d.write("p.dat", c.sample);
    ResultFigure f;
    ASSERT_EQ(load_result_figure(d.file("p.ktt"), f), "");
    EXPECT_EQ(f.title, c.title);
    ASSERT_EQ(f.panels.size(), 1u);
    EXPECT_EQ(f.default_output, d.file("p.svg"));
  }
}

TEST_F(FigureTest, FunctionsRunsDrawTheirLabelAndTheirValueUnderCsr) {
  // 2 points of species 1 and 3 of species 2 in 10 x 20.
  dir.write("p.dat", "10 20 1 1 4 19\n1 1 0\n2 2 0\n3 3 1\n4 4 1\n5 5 1\n");
  struct Case {
    const char* file;
    const char* label;
    double reference;
  };
  const Case cases[] = {
      {"p.ktt", "L(t) - t", 0},
      {"p_g.ktt", "g(t)", 1},
      // (n1^2 + n2^2) / (A (n1 + n2)) = 13 / 1000
      {"p_O.ktt", "O(t)", 0.013},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    dir.write(c.file, kResult);
    ResultFigure f;
    ASSERT_EQ(load_result_figure(dir.file(c.file), f), "");
    EXPECT_EQ(f.axis_label, c.label);
    EXPECT_DOUBLE_EQ(f.reference, c.reference);
    EXPECT_EQ(f.n_simulations, 19);  // p.dat found
    const QString svg = QString::fromUtf8(render_figure_svg(f, {800, 600}));
    EXPECT_TRUE(svg.contains(QString(">") + c.label + "</text>"));
  }
  // Without its sample data file an O run's density is unknown: no line.
  TempDir lone;
  lone.write("q_O.ktt", kResult);
  ResultFigure f;
  ASSERT_EQ(load_result_figure(lone.file("q_O.ktt"), f), "");
  EXPECT_TRUE(std::isnan(f.reference));
  // A sample data file whose only run was of g draws that run.
  TempDir g_only;
  g_only.write("r.dat", "10 20 1 1 4 19\n1 1\n");
  g_only.write("r_g.ktt", kResult);
  ASSERT_EQ(load_result_figure(g_only.file("r.dat"), f), "");
  EXPECT_EQ(f.axis_label, "g(t)");
}

TEST_F(FigureTest, DirectionalRunGivesFourPanelsInCompassOrder) {
  dir.write("x.dat", "10 10 1 1 4 19\n1 1 0\n2 2 1\n");
  for (const char* s : {"_SW", "_NW", "_NE", "_SE"}) {
    dir.write(std::string("x") + s + ".ktt", kResult);
  }
  // A plain result beside them: the sample file still gives the sectors.
  dir.write("x.ktt", kResult);
  // Top left, top right, bottom left, bottom right.
  const std::vector<std::string> order{"x_NW.ktt", "x_NE.ktt", "x_SW.ktt",
                                       "x_SE.ktt"};
  for (const char* start : {"x_NE.ktt", "x.dat"}) {
    SCOPED_TRACE(start);
    ResultFigure f;
    ASSERT_EQ(load_result_figure(dir.file(start), f), "");
    std::vector<std::string> titles;
    for (const auto& p : f.panels) titles.push_back(p.title);
    EXPECT_EQ(titles, order);
    EXPECT_EQ(f.title,
              "x - diagonal sectors - max/min envelope of 19 simulations");
    EXPECT_EQ(f.default_output, dir.file("x_diagonal.svg"));
  }
  // Without all four sectors a sector file is drawn on its own.
  std::filesystem::remove(dir.file("x_SE.ktt"));
  ResultFigure f;
  ASSERT_EQ(load_result_figure(dir.file("x_NE.ktt"), f), "");
  ASSERT_EQ(f.panels.size(), 1u);
  EXPECT_EQ(f.panels[0].title, "x_NE.ktt");
  ASSERT_EQ(load_result_figure(dir.file("x.dat"), f), "");
  EXPECT_EQ(f.panels.size(), 1u);  // the plain result
  std::filesystem::remove(dir.file("x.ktt"));
  EXPECT_EQ(
      load_result_figure(dir.file("x.dat"), f),
      "No result file for x.dat (x.ktt or the files of a directional run)");
  EXPECT_EQ(load_result_figure(dir.file("none.ktt"), f),
            "Cannot open " + dir.file("none.ktt"));
}

TEST_F(FigureTest, SvgHoldsTheBandTheTwoLinesAndTheLabels) {
  dir.write("p.ktt", kResult);
  dir.write("p.dat", "10 10 1 1 4 19\n1 1\n");
  ResultFigure f;
  ASSERT_EQ(load_result_figure(dir.file("p.ktt"), f), "");
  const QString svg = QString::fromUtf8(render_figure_svg(f, {800, 600}));
  // Each drawing state is a <g> group with its pen and brush, then shapes.
  const auto group = [&](const QString& attributes, const QString& shape) {
    return QRegularExpression("<g " + attributes + "[^>]*>\\s*<" + shape +
                              "[^>]*>")
        .match(svg)
        .hasMatch();
  };
  EXPECT_TRUE(group("fill=\"#d3d3d3\"[^>]*stroke=\"none\"", "path"))
      << "grey band";
  EXPECT_TRUE(group("fill=\"none\"[^>]*stroke-dasharray", "polyline"))
      << "dashed zero line";
  // The observed curve: a solid black polyline through the four points.
  const QRegularExpression observed(
      "stroke=\"#000000\"[^>]*stroke-width=\"1.5\"[^>]*>\\s*"
      "<polyline[^>]*points=\"([^\"]*)\"");
  const auto m = observed.match(svg);
  ASSERT_TRUE(m.hasMatch()) << "observed line";
  EXPECT_FALSE(m.captured(0).contains("dasharray"));
  EXPECT_EQ(m.captured(1).split(' ', Qt::SkipEmptyParts).size(), 4);
  for (const char* label :
       {">L(t) - t</text>", ">t</text>",
        ">p.ktt - max/min envelope of 19 simulations</text>",
        ">observed</text>",
        ">pointwise max/min envelope of 19 simulations</text>"}) {
    EXPECT_TRUE(svg.contains(label)) << label;
  }
}

TEST_F(FigureTest, PngHasTheSizeAndAGreyBand) {
  dir.write("p.ktt", kResult);
  ResultFigure f;
  ASSERT_EQ(load_result_figure(dir.file("p.ktt"), f), "");
  const std::string png = dir.file("p.png");
  ASSERT_EQ(save_figure(f, png, {640, 480}), "");
  QImage image;
  ASSERT_TRUE(image.load(QString::fromStdString(png), "PNG"));
  EXPECT_EQ(image.size(), QSize(640, 480));
  const auto frames = layout_figure(f, QRectF(0, 0, 640, 480));
  ASSERT_EQ(frames.size(), 1u);
  const PanelFrame& frame = frames[0];
  // Inside the band, away from the observed line and the zero line.
  for (double t : {1.5, 2.5, 3.5}) {
    for (double y : {-0.5, 0.4}) {
      SCOPED_TRACE(t * 10 + y);
      const QPoint p = frame.map(t, y).toPoint();
      EXPECT_EQ(image.pixelColor(p), kBandColour);
    }
  }
  // Above the upper envelope the plot stays white.
  const QPoint above = frame.map(2.5, 1.25).toPoint();
  ASSERT_TRUE(frame.area.contains(above));
  EXPECT_EQ(image.pixelColor(above), QColor(Qt::white));
  EXPECT_NE(save_figure(f, dir.file("p.jpg"), {640, 480}), "");
}

// The darkest grey level and the reddest pixel within two rows of `p`
// (antialiasing spreads thin lines over neighbouring rows).
int darkest_near(const QImage& image, QPoint p) {
  int dark = 255;
  for (int dy = -2; dy <= 2; ++dy) {
    dark = std::min(dark, qGray(image.pixel(p + QPoint(0, dy))));
  }
  return dark;
}
bool red_near(const QImage& image, QPoint p) {
  for (int dy = -2; dy <= 2; ++dy) {
    const QColor c = image.pixelColor(p + QPoint(0, dy));
    if (c == kOutsideColour) return true;
  }
  return false;
}

// A run whose observed curve climbs out of its simulations at t = 3 and 4
// (all curves are 0 at t = 1 and 2, the simulations j = 1 ... 19 are
// (j - 10) / 10 at t = 3 and the reverse at t = 4): only the observed curve
// has two pointwise ranks 1, p = 1/20, and the band of the simulations
// leaves it above at t = 3 and 4.
TEST_F(FigureTest, GlobalBandOutlinesAndMarksTheOutsidePoints) {
  dir.write("g.ktt", "1 1 -1 0\r\n2 1 -1 0\r\n3 1 -1 3\r\n4 1 -1 3\r\n");
  dir.write("g.dat", "10 10 1 1 4 19\n1 1\n");
  std::string tmp = "1 0\r\n2 0\r\n3 3\r\n4 3\r\n";
  for (int j = 1; j <= 19; ++j) {
    tmp += "1 0\r\n2 0\r\n3 " + std::to_string((j - 10) / 10.0) + "\r\n4 " +
           std::to_string((10 - j) / 10.0) + "\r\n";
  }
  dir.write("g.tmp", tmp);
  ResultFigure f;
  ASSERT_EQ(load_result_figure(dir.file("g.ktt"), f), "");
  ASSERT_EQ(add_global_envelopes(f, 0.05), "");
  const GlobalBand& band = *f.panels[0].global;
  EXPECT_EQ(band.upper, (std::vector<double>{0, 0, 0.9, 0.9}));
  EXPECT_EQ(band.lower, (std::vector<double>{0, 0, -0.9, -0.9}));
  ASSERT_EQ(band.outside.size(), 1u);
  EXPECT_EQ(band.outside[0].first, 2u);
  EXPECT_EQ(band.outside[0].last, 3u);
  EXPECT_TRUE(band.outside[0].above);
  EXPECT_NE(f.title.find("global ERL 95 %, p = 0.05"), std::string::npos);
  const QImage image = render_figure_image(f, {640, 480});
  const PanelFrame frame = layout_figure(f, QRectF(0, 0, 640, 480))[0];
  EXPECT_TRUE(red_near(image, frame.map(3.5, 3).toPoint()));
  EXPECT_FALSE(red_near(image, frame.map(1.5, 0).toPoint()));
  // The outline is darker than the grey band it runs over.
  EXPECT_LT(darkest_near(image, frame.map(3.5, 0.9).toPoint()), 140);
  EXPECT_EQ(darkest_near(image, frame.map(3.5, 0.5).toPoint()),
            qGray(kBandColour.rgb()));
  // The legend names every element drawn, and hides none of the curve.
  const QString svg = QString::fromUtf8(render_figure_svg(f, {640, 480}));
  for (const char* label :
       {">observed</text>",
        ">pointwise max/min envelope of 19 simulations</text>",
        ">global 95 % envelope</text>",
        ">outside the global envelope</text>"}) {
    EXPECT_TRUE(svg.contains(label)) << label;
  }
}

}  // namespace
}  // namespace qlor
