// The parameter summary texts.
#include "input/parameter_summary.h"

#include <gtest/gtest.h>

namespace qlor {
namespace {

TEST(ParameterSummary, AssemblesThePiecesInOrder) {
  AnalysisState s;
  s.x_axis = 100;
  s.y_axis = 80;
  s.t_min = 1;
  s.t_interval = 1;
  s.t_max = 20;
  s.n_simulations = 99;
  s.n_points = 150;
  EXPECT_EQ(confirm_parameters_text(s, "generator: philox, seed 7"),
            "QLOR has recognised the following parameters :  "
            "______________________________________\n\n"
            "Type:\tUnivariate pattern analysis\n\n"
            "Process:  Complete Spatial Randomness (CSR)\n\n"
            "x-axis =\t100\tSimulations =\t99\ny-axis =\t80\t"
            "Confid. env. =\tmax/min  \n\n"
            "t_min =\t1\nt_int =\t1\nt_max =\t20\n\n"
            "No. of points = 150\n"
            "generator: philox, seed 7\n"
            "\nPROCEED  WITH  ANALYSIS  ?\n");

  s.analysis_type = AnalysisType::kBivariate;
  s.process_type = ProcessType::kCluster;
  s.n_simulations = 100;
  s.radius = 2.5;
  s.c = 0.25;
  s.n_centers = 7;
  s.n_species1_observed = 100;
  s.n_species2_observed = 50;
  EXPECT_EQ(
      checked_parameters_text(s, "a1.dat"),
      "FILE :\ta1.dat  \n\nQLOR has recognised the following parameters :  \n"
      "______________________________________  \n\n"
      "Type:\tBivariate pattern analysis\n\n"
      "Process:  Cluster Process\n\n"
      "x-axis =\t100\tSimulations =\t100\ny-axis =\t80\t"
      "Confid. interval =\tstdev  \n\n"
      "t_min =\t1\tCluster  radius =\t2.5\nt_int =\t1\t"
      "Probability  'c' =\t0.25\nt_max =\t20\tCenters =\t\t7\n\n"
      "No. of points = 150\n"
      "Species 1 = 100\tSpecies 2 = 50\n"
      "\nNO  DATA  ERRORS  DETECTED\n\n");
}

// The header's values as read, never rounded to the summary's columns.
TEST(ParameterSummary, ShowsTheValuesAsRead) {
  AnalysisState s;
  s.x_axis = 1.60121;
  s.y_axis = 0.5;
  s.t_min = 0.005;
  s.t_interval = 0.005;
  s.t_max = 0.125;
  const std::string text = confirm_parameters_text(s, "");
  for (const char* shown :
       {"x-axis =\t1.60121\t", "y-axis =\t0.5\t", "t_min =\t0.005\n",
        "t_int =\t0.005\n", "t_max =\t0.125\n"}) {
    EXPECT_NE(text.find(shown), std::string::npos) << shown;
  }
}

TEST(ParameterSummary, NamesTheInhibitionProcessByC) {
  AnalysisState s;
  s.process_type = ProcessType::kInhibition;
  s.c = 0;
  EXPECT_NE(
      confirm_parameters_text(s, "").find("Simple Sequential Inhibition (SSI)"),
      std::string::npos);
  s.c = 0.3;
  const std::string strauss = confirm_parameters_text(s, "");
  EXPECT_NE(strauss.find("Process:  Strauss Process (inhibition)\n\n"),
            std::string::npos);
  EXPECT_NE(strauss.find("Inhibition  radius =\t"), std::string::npos);
}

}  // namespace
}  // namespace qlor
