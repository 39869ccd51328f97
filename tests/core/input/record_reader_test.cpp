// Point records: the checks in order, species counts, coordinate resolution.
#include "input/record_reader.h"

#include <gtest/gtest.h>

#include <sstream>

#include "simulation/simulation_grid.h"

namespace qlor {
namespace {

AnalysisState plot_state(int analysis_type, int n_points) {
  AnalysisState s;
  s.x_axis = 100;
  s.y_axis = 80;
  s.analysis_type = static_cast<AnalysisType>(analysis_type);
  s.n_points = n_points;
  return s;
}

TEST(ReadSamples, ReportsTheFirstFaultyRecord) {
  struct Case {
    const char* label;
    int analysis_type;
    std::string records;
    std::string status;
  };
  const Case cases[] = {
      {"valid", 1, "0 0\n99.9 79.9\n50 40\n", ""},
      {"x equal to the axis", 1, "1 1\n100 5\n2 2\n",
       "x-coordinate out of range: sample record 2  "},
      {"negative y", 1, "1 1\n2 2\n3 -0.1\n",
       "y-coordinate out of range: sample record 3  "},
      {"y equal to the axis", 1, "1 80\n2 2\n3 3\n",
       "y-coordinate out of range: sample record 1  "},
      {"identical points", 1, "1 1\n2 2\n1 1\n",
       "Identical coordinates for samples 1 and 3  "},
      {"signed zeros", 1, "0 1\n2 2\n-0 1\n",
       "Identical coordinates for samples 1 and 3  "},
      {"unreadable first record", 1, "a b\n2 2\n3 3\n",
       "Input error: non-numeric value in sample record 1  "},
      {"missing record", 1, "1 1\n2 2\n",
       "Input error: non-numeric value in sample record 3  "},
      {"species 2", 2, "1 1 0\n2 2 2\n3 3 1\n",
       "Wrong species ID <0,1>: sample record 2  "},
      {"species before x", 2, "1 1 0\n200 2 5\n3 3 1\n",
       "Wrong species ID <0,1>: sample record 2  "},
      {"species 1.0", 2, "1 1 0\n2 2 1.0\n3 3 1\n",
       "Wrong species ID <0,1>: sample record 2  "},
      {"one species", 2, "1 1 0\n2 2 0\n3 3 0\n", kBothSpeciesNeeded},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    AnalysisState state = plot_state(c.analysis_type, 3);
    std::istringstream in(c.records);
    EXPECT_EQ(read_samples(state, in), c.status);
  }
}

TEST(ReadSamples, NamesTheEarliestIdenticalPair) {
  // Records 3 and 7 equal, record 9 equal to record 2: 3 and 7 are named.
  AnalysisState state = plot_state(1, 9);
  std::istringstream in("1 1\n2 2\n3 3\n4 4\n5 5\n6 6\n3 3\n8 8\n2 2\n");
  EXPECT_EQ(read_samples(state, in),
            "Identical coordinates for samples 3 and 7  ");
}

TEST(ReadSamples, FindsRepeatsAmongManyPositions) {
  // A lattice of distinct positions, then a repeat of one of them: every
  // earlier position must still be found wherever its slot landed.
  for (const int repeated : {1, 777, 2500}) {
    SCOPED_TRACE(repeated);
    std::string records;
    for (int k = 0; k < 2500; ++k) {
      records +=
          std::to_string(k % 50 * 2) + ".5 " + std::to_string(k / 50) + ".25\n";
    }
    const int r = repeated - 1;
    records +=
        std::to_string(r % 50 * 2) + ".5 " + std::to_string(r / 50) + ".25\n";
    AnalysisState state = plot_state(1, 2501);
    std::istringstream in(records);
    EXPECT_EQ(read_samples(state, in), "Identical coordinates for samples " +
                                           std::to_string(repeated) +
                                           " and 2501  ");
  }
}

TEST(ReadSamples, CountsSpeciesAndChecksBivariateCentres) {
  AnalysisState state = plot_state(2, 5);
  state.process_type = ProcessType::kCluster;
  state.n_centers = 3;
  std::istringstream in("1 1 0\n2 2 1\n3 3 0\n4 4 1\n5 5 0\n");
  ASSERT_EQ(read_samples(state, in), "");
  EXPECT_EQ(state.n_species1_observed, 3);
  EXPECT_EQ(state.n_species2_observed, 2);
  // The cluster generator makes its own tables (cluster_tables.h).
  EXPECT_TRUE(state.poisson_table.empty());
  EXPECT_TRUE(state.offspring_counts.empty());

  struct Case {
    int centers;
    RecordPass pass;
    std::string status;
  };
  const Case cases[] = {
      {4, RecordPass::kSingle, kCentersAboveSpecies1},
      {2, RecordPass::kSingle, ""},
      {2, RecordPass::kPrecheck, ""},
      {2, RecordPass::kBatch, kCentersNotSpecies1},
      {3, RecordPass::kBatch, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.centers);
    AnalysisState s = plot_state(2, 5);
    s.process_type = ProcessType::kCluster;
    s.n_centers = c.centers;
    std::istringstream again("1 1 0\n2 2 1\n3 3 0\n4 4 1\n5 5 0\n");
    EXPECT_EQ(read_samples(s, again, c.pass), c.status);
  }
}

TEST(CoordinateResolution, TakesTheCoarsestStepOfEveryX) {
  struct Case {
    std::vector<double> xs;
    int resolution;
    double scale;
    int halves, fifths;
  };
  const Case cases[] = {
      {{12.5, 3.0, 7.25}, 50, 10, 1, 0},
      {{10, 20, 90}, 10000, 0.1, 0, 0},
      {{0}, 10000, 0.1, 0, 0},
      {{3.14}, 20, 10, 0, 1},
      {{7}, 1000, 1, 0, 0},
      {{0.001}, 1, 1000, 0, 0},
      {{12.5}, 500, 1, 1, 0},
      {{0.002, 4}, 2, 100, 0, 1},
      {{0.005}, 5, 100, 1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.resolution);
    AnalysisState state = plot_state(1, 0);
    for (double x : c.xs) update_coordinate_resolution(state, x);
    EXPECT_EQ(state.coordinate_resolution, c.resolution);
    set_simulation_grid(state);
    EXPECT_EQ(state.grid_scale, c.scale);
    EXPECT_EQ(state.grid_halves, c.halves);
    EXPECT_EQ(state.grid_fifths, c.fifths);
  }
}

}  // namespace
}  // namespace qlor
