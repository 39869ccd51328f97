// The intensity grid file: its checks with their messages, and the cell
// that holds a point, borders included.
#include "input/intensity_grid.h"

#include <gtest/gtest.h>

#include <cmath>

namespace qlor {
namespace {

// A 2 x 2 plot in four unit cells, centres 0.5 and 1.5.
constexpr const char* kFour =
    "x,y,intensity\n0.5,0.5,1\n1.5,0.5,2\n0.5,1.5,3\n1.5,1.5,4\n";

TEST(IntensityGrid, LooksUpTheCellThatHoldsAPoint) {
  IntensityGrid grid;
  ASSERT_EQ(parse_intensity_grid(kFour, "g.csv", false, 2, 2, grid), "");
  EXPECT_EQ(grid.nx, 2);
  EXPECT_EQ(grid.ny, 2);
  struct Case {
    double x, y, want;
  };
  const Case cases[] = {
      {0, 0, 1},          {0.999, 0.2, 1},
      {1, 0.2, 2},  // cells are [c - d/2, ...)
      {1.999, 1.999, 4},  {0.3, 1, 3},
      {1.5, 0.999999, 2},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(grid_intensity(grid, 0, c.x, c.y), c.want) << c.x << " " << c.y;
  }
  EXPECT_EQ(grid_maximum(grid, 0), 4);
  // Columns in any order, spaces and quotes around names, semicolons,
  // a grid wider than the plot.
  ASSERT_EQ(parse_intensity_grid("\"intensity2\"; y ;x;intensity1\n"
                                 "7;0.5;0.5;1\n7;0.5;1.5;2\n8;1.5;0.5;3\n"
                                 "8;1.5;1.5;4\n",
                                 "b.csv", true, 1.9, 2, grid),
            "");
  EXPECT_EQ(grid_intensity(grid, 1, 0.2, 1.6), 8);
  EXPECT_EQ(grid_intensity(grid, 0, 1.2, 0.2), 2);
}

TEST(IntensityGrid, RefusesWhatIsNoRegularGridOverThePlot) {
  struct Case {
    const char* text;
    bool bivariate;
    const char* message;
  };
  const Case cases[] = {
      {"", false, "g.csv: the file is empty"},
      {"x,y,lambda\n0.5,0.5,1\n", false, "g.csv: no column 'intensity'"},
      {kFour, true, "g.csv: no column 'intensity1'"},
      {"x,y,intensity\n0.5,0.5,1\n1.5,0.5,x\n", false,
       "g.csv, row 3: 'intensity' is not a number"},
      {"x,y,intensity\n0.5,0.5,-1\n", false,
       "g.csv, row 2: an intensity must be a finite number, not negative"},
      {"x,y,intensity\n0.5,0.5,inf\n", false,
       "g.csv, row 2: 'intensity' is not a number"},
      {"x,y,intensity\n0.5,0.5,1\n1.5,0.5,1\n0.5,1.5,1\n", false,
       "g.csv: 1 cells of the 2 x 2 grid are missing"},
      {"x,y,intensity\n0.5,0.5,1\n1.5,0.5,1\n0.5,1.5,1\n0.5,1.5,1\n", false,
       "g.csv, row 5: the cell of row 4 again"},
      {"x,y,intensity\n0.5,0.5,1\n1.5,0.5,1\n1.7,0.5,1\n0.5,1.5,1\n1.5,1.5,1\n"
       "1.7,1.5,1\n",
       false, "g.csv: the cell centres along x are not evenly spaced (1.5)"},
      {"x,y,intensity\n0.6,0.5,1\n1.6,0.5,2\n0.6,1.5,3\n1.6,1.5,4\n", false,
       "g.csv: the grid covers [0.1, 2.1) x [0, 2), not the whole plot [0, 2) "
       "x [0, 2)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    IntensityGrid grid;
    EXPECT_EQ(parse_intensity_grid(c.text, "g.csv", c.bivariate, 2, 2, grid),
              c.message);
  }
  IntensityGrid grid;
  EXPECT_EQ(read_intensity_grid("/nonexistent/g.csv", false, 2, 2, grid),
            "/nonexistent/g.csv: the file cannot be opened");
}

// The Gaussian kernel's mass in the plot against its closed form: 1/4 of
// the mass at a corner, 1/2 at the middle of an edge, nearly all of it in
// the middle of a large plot.
TEST(EdgeMass, AtTheCentreAnEdgeAndACorner) {
  const double sigma = 1;
  const double far = 0.5 * std::erfc(-1e3 / std::sqrt(2.0));  // 1 to 1e-300
  EXPECT_NEAR(edge_mass(0, 0, 1000, 1000, sigma), 0.25 * far * far, 1e-15);
  EXPECT_NEAR(edge_mass(500, 0, 1000, 1000, sigma), 0.5, 1e-15);
  EXPECT_NEAR(edge_mass(500, 500, 1000, 1000, sigma), 1.0, 1e-15);
  // One sigma from two edges: Phi(1)^2 = 0.8413447^2.
  EXPECT_NEAR(edge_mass(1, 1, 1000, 1000, sigma),
              0.8413447460685429 * 0.8413447460685429, 1e-15);
  // A plot of 2 sigma: each factor Phi(1) - Phi(-1) at the middle.
  EXPECT_NEAR(edge_mass(1, 1, 2, 2, sigma), std::pow(0.6826894921370859, 2),
              1e-15);
  EXPECT_EQ(smallest_edge_mass(2, 2, sigma), edge_mass(0, 0, 2, 2, sigma));
  EXPECT_EQ(default_sigma(100, 60), 7.5);
}

}  // namespace
}  // namespace qlor
