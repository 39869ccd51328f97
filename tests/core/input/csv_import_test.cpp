// CSV import into the sample data format.
#include "input/csv_import.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <sstream>

namespace qlor {
namespace {

ImportOptions plot_options() {
  ImportOptions o;
  o.x_column = "x";
  o.y_column = "y";
  o.x_axis = 100;
  o.y_axis = 80;
  o.t_min = 1;
  o.t_interval = 0.5;
  o.t_max = 20;
  o.n_simulations = 99;
  return o;
}

TEST(CsvImport, WritesTheExactSampleFormat) {
  std::string error;
  const auto text = import_points_csv("id,x,y\n1,10.5,3\n2,7.25,40.0\n",
                                      plot_options(), error);
  ASSERT_TRUE(text) << error;
  EXPECT_EQ(*text, "100 80 1 0.5 20 99\n10.5 3\n7.25 40\n");

  ImportOptions o = plot_options();
  o.species_column = "Species";
  o.species1_value = "oak";
  o.species2_value = kEveryOtherSpecies;
  o.model = ImportOptions::Model::kCluster;
  o.radius = 2.5;
  o.c = 0;
  o.n_centers = 3;
  const auto bivariate = import_points_csv(
      "\"x\";\"y\";\"Species\"\n\"1,5\";2;oak\n3;4;\"beech\"\n", o, error);
  EXPECT_FALSE(bivariate);  // "1,5" is no number: decimal commas are refused
  EXPECT_EQ(error, "row 2: column x: '1,5' is not a number");

  const auto ok =
      import_points_csv("x\ty\tSpecies\n1.5\t2\toak\n3\t4\tbeech\n", o, error);
  ASSERT_TRUE(ok) << error;
  EXPECT_EQ(*ok, "100 80 1 0.5 20 99 2.5 0 3\n1.5 2 0\n3 4 1\n");
}

TEST(CsvImport, NamesTheRowThatCannotBeTaken) {
  struct Case {
    std::string csv;
    std::string error;
  };
  const Case cases[] = {
      {"x,y\n1,2\n100.5,5\n", "row 3: point (100.5, 5) lies outside the plot"},
      {"x,y\n1,2\n-1,5\n", "row 3: point (-1, 5) lies outside the plot"},
      {"x,y\n1,2\nabc,5\n", "row 3: column x: 'abc' is not a number"},
      {"x,y\n1,2\n5,\n", "row 3: column y: '' is not a number"},
      {"x,y\n1,2\n1,2\n3,3\n1,2\n",
       "row 3: a point at a position already read (2 such rows in all; "
       "--duplicates drop keeps the first of each, jitter:R moves the "
       "others)"},
      {"a,b\n1,2\n", "no column 'x' in the header row"},
      {"x,y\n", "the CSV file holds no points"},
      {"", "the CSV file has no header row"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.csv);
    std::string error;
    EXPECT_FALSE(import_points_csv(c.csv, plot_options(), error));
    EXPECT_EQ(error, c.error);
  }
}

TEST(CsvImport, SplitsQuotedFieldsAndFindsColumnsByNumber) {
  EXPECT_EQ(split_csv_record("a,\"b,c\",\"d\"\"e\"", ','),
            (std::vector<std::string>{"a", "b,c", "d\"e"}));
  EXPECT_EQ(detect_separator("x;y"), ';');
  EXPECT_EQ(detect_separator("x\ty;z"), '\t');
  EXPECT_EQ(shortest_decimal(0.1), "0.1");
  EXPECT_EQ(shortest_decimal(1e-5), "0.00001");
  ImportOptions o = plot_options();
  o.x_column = "2";
  o.y_column = "3";
  std::string error;
  const auto text = import_points_csv("id,east,north\n1,5,6\n", o, error);
  ASSERT_TRUE(text) << error;
  EXPECT_EQ(*text, "100 80 1 0.5 20 99\n5 6\n");
}

TEST(CsvImport, KeepsTheRowsThatMeetEveryCondition) {
  struct Case {
    const char* where;
    const char* points;  // the sample file's point lines
    int filtered;
  };
  const char* csv = "x,y,dbh\n1,1,10\n2,2,30\n3,3,45.5\n4,4,30\n";
  const Case cases[] = {
      {"dbh>=30", "2 2\n3 3\n4 4\n", 1},
      {"dbh>30", "3 3\n", 3},
      {"dbh<30", "1 1\n", 3},
      {"dbh<=30", "1 1\n2 2\n4 4\n", 1},
      {"dbh==30", "2 2\n4 4\n", 2},
      {" dbh != 30", "1 1\n3 3\n", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.where);
    ImportOptions o = plot_options();
    RowFilter filter;
    ASSERT_TRUE(parse_row_filter(c.where, filter));
    o.filters = {filter};
    std::string error;
    ImportReport report;
    const auto text = import_points_csv(csv, o, error, &report);
    ASSERT_TRUE(text) << error;
    EXPECT_EQ(*text, std::string("100 80 1 0.5 20 99\n") + c.points);
    EXPECT_EQ(report.filtered, c.filtered);
  }
  // Two conditions both hold; a value that is no number names its column.
  ImportOptions o = plot_options();
  RowFilter low;
  RowFilter high;
  ASSERT_TRUE(parse_row_filter("dbh>10", low));
  ASSERT_TRUE(parse_row_filter("dbh<45", high));
  o.filters = {low, high};
  std::string error;
  const auto both = import_points_csv(csv, o, error);
  ASSERT_TRUE(both) << error;
  EXPECT_EQ(*both, "100 80 1 0.5 20 99\n2 2\n4 4\n");
  EXPECT_FALSE(import_points_csv("x,y,dbh\n1,1,big\n", o, error));
  EXPECT_EQ(error, "row 2: column dbh: 'big' is not a number");
  o.filters = {RowFilter{"height", RowFilter::Op::kLess, 3}};
  EXPECT_FALSE(import_points_csv(csv, o, error));
  EXPECT_EQ(error, "no column 'height' in the header row (--where)");
  RowFilter unused;
  for (const char* bad : {"dbh", ">=30", "dbh>=", "dbh>=x", "dbh=>30"}) {
    EXPECT_FALSE(parse_row_filter(bad, unused)) << bad;
  }
}

TEST(CsvImport, DropsDuplicatedPositionsWhenAsked) {
  ImportOptions o = plot_options();
  o.duplicates = DuplicateRows::kDrop;
  std::string error;
  ImportReport report;
  const auto text =
      import_points_csv("x,y\n1,2\n1,2\n3,3\n1.0,2\n", o, error, &report);
  ASSERT_TRUE(text) << error;
  EXPECT_EQ(*text, "100 80 1 0.5 20 99\n1 2\n3 3\n");
  EXPECT_EQ(report.points, 2);
  EXPECT_EQ(report.duplicates, 2);
}

TEST(CsvImport, SplitsANumericMarkIntoTwoSpecies) {
  ImportOptions o = plot_options();
  o.threshold_column = "dbh";
  o.threshold = 30;
  std::string error;
  const auto text =
      import_points_csv("x,y,dbh\n1,1,10\n2,2,30\n3,3,29.99\n", o, error);
  ASSERT_TRUE(text) << error;
  EXPECT_EQ(*text, "100 80 1 0.5 20 99\n1 1 0\n2 2 1\n3 3 0\n");
  EXPECT_FALSE(import_points_csv("x,y,dbh\n1,1,10\n2,2,x\n", o, error));
  EXPECT_EQ(error, "row 3: column dbh: 'x' is not a number");
  EXPECT_FALSE(import_points_csv("x,y,dbh\n1,1,10\n2,2,20\n", o, error));
  EXPECT_EQ(error, "a bivariate file needs points of both species");
}

TEST(CsvImport, KeepsTwoSpeciesAndDropsTheRest) {
  ImportOptions o = plot_options();
  o.species_column = "sp";
  o.species1_value = "oak";
  o.species2_value = "beech";
  std::string error;
  ImportReport report;
  // The dropped ash shares a position with a later oak: no duplicate.
  const auto text = import_points_csv(
      "x,y,sp\n1,1,oak\n2,2,ash\n2,2,oak\n3,3,beech\n4,4,pine\n", o, error,
      &report);
  ASSERT_TRUE(text) << error;
  EXPECT_EQ(*text, "100 80 1 0.5 20 99\n1 1 0\n2 2 0\n3 3 1\n");
  EXPECT_EQ(report.other_species, 2);

  // Species 1 alone: a univariate file of its rows.
  o.species2_value.clear();
  const auto oaks = import_points_csv(
      "x,y,sp\n1,1,oak\n2,2,ash\n2,2,oak\n3,3,beech\n", o, error, &report);
  ASSERT_TRUE(oaks) << error;
  EXPECT_EQ(*oaks, "100 80 1 0.5 20 99\n1 1\n2 2\n");
  EXPECT_EQ(report.other_species, 2);
  EXPECT_FALSE(import_points_csv("x,y,sp\n1,1,ash\n", o, error));
  EXPECT_EQ(error, "no row of species 'oak' in column 'sp'");
}

// Survey coordinates far from 0 come into the plot as the decimals they
// were, not as differences of doubles; the upper and right edges belong to
// the plot, and their points move in by one step of the data's lattice.
TEST(CsvImport, MovesAnOffsetPlotToItsCorner) {
  ImportOptions o = plot_options();
  o.x_axis = 100;
  o.y_axis = 50;
  o.origin = {634500, 5100000.5, 0, 1};
  std::string error;
  ImportReport report;
  // 634600 and 634599.99 meet at 99.99: the later one is a duplicate.
  EXPECT_FALSE(import_points_csv(
      "x,y\n634600,5100050.5\n634599.99,5100050.49\n", o, error));
  EXPECT_EQ(error,
            "row 3: a point at a position already read (1 such rows in all; "
            "--duplicates drop keeps the first of each, jitter:R moves the "
            "others)");
  o.duplicates = DuplicateRows::kDrop;
  const auto kept = import_points_csv(
      "x,y\n634512.37,5100000.6\n634600,5100050.5\n634500,5100000.5\n", o,
      error, &report);
  ASSERT_TRUE(kept) << error;
  EXPECT_EQ(report.on_edge, 1);
  EXPECT_EQ(*kept, "100 50 1 0.5 20 99\n12.37 0.1\n99.99 49.99\n0 0\n");
  EXPECT_DOUBLE_EQ(report.step, 0.01);
  EXPECT_FALSE(
      import_points_csv("x,y\n634499.99,5100001\n", o, error, &report));
  EXPECT_EQ(error, "row 2: point (634499.99, 5100001) lies outside the plot");
}

// Duplicates move to free lattice positions within the radius, drawn from
// the given source of uniforms.
TEST(CsvImport, JittersDuplicatesOntoFreeLatticePositions) {
  ImportOptions o = plot_options();
  o.duplicates = DuplicateRows::kJitter;
  o.jitter_radius = 0.5;
  unsigned state = 12345;
  o.uniform = [&state] {
    state = state * 1103515245u + 12345u;
    return (state >> 8) / 16777216.0;
  };
  std::string error;
  ImportReport report;
  const auto text = import_points_csv(
      "x,y\n1.5,2.25\n1.5,2.25\n1.5,2.25\n1.55,2.25\n", o, error, &report);
  ASSERT_TRUE(text) << error;
  EXPECT_EQ(report.jittered, 2);
  EXPECT_EQ(report.duplicates, 0);
  EXPECT_EQ(report.points, 4);
  std::istringstream lines(*text);
  std::string line;
  std::getline(lines, line);
  std::set<std::pair<double, double>> seen;
  while (lines >> line) {
    double x = std::stod(line);
    double y = 0;
    lines >> y;
    EXPECT_TRUE(seen.insert({x, y}).second) << x << " " << y;
    EXPECT_LE(std::hypot(x - 1.5, y - 2.25), 0.5 + 1e-12);
    EXPECT_NEAR(x * 20, std::round(x * 20), 1e-9);  // on the 0.05 lattice
    EXPECT_NEAR(y * 20, std::round(y * 20), 1e-9);
  }
  EXPECT_EQ(seen.size(), 4u);

  struct Refusal {
    const char* csv;
    double plot;
    double radius;
    const char* error;
  };
  const Refusal refusals[] = {
      {"x,y\n1.5,2\n1.5,2\n", 100, 0.25,
       "row 3: a point at a position already read, and the jitter radius "
       "0.25 is below the coordinate step 0.5: every move would round back "
       "to it"},
      // Every lattice position of a 2 x 2 plot is taken.
      {"x,y\n0,0\n1,0\n0,1\n1,1\n1,1\n", 2, 5,
       "row 6: no free position within 5 of this duplicated point"},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.csv);
    o.x_axis = o.y_axis = r.plot;
    o.jitter_radius = r.radius;
    EXPECT_FALSE(import_points_csv(r.csv, o, error));
    EXPECT_EQ(error, r.error);
  }
}

TEST(CsvImport, ReportsTheCoordinatesStepAgainstTheirSpacing) {
  struct Case {
    const char* csv;
    double step;
    bool coarse;
  };
  // 4 points in 100 x 80: at random about 0.5 sqrt(2000) = 22.4 apart.
  const Case cases[] = {
      {"x,y\n1.25,1\n2.5,2\n3.75,3\n5,4\n", 0.05, false},
      {"x,y\n1,1\n2,2\n3,3\n4,4\n", 1, false},
      {"x,y\n10,1\n20,2\n30,3\n40,4\n", 10, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.csv);
    std::string error;
    ImportReport report;
    ASSERT_TRUE(import_points_csv(c.csv, plot_options(), error, &report));
    EXPECT_DOUBLE_EQ(report.step, c.step);
    EXPECT_NEAR(report.spacing, 22.36, 0.01);
    EXPECT_EQ(report.coarse(), c.coarse);
  }
}

}  // namespace
}  // namespace qlor
