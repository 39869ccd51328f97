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
            "x-axis =\t100.0\tSimulations =\t99\ny-axis =\t80.0\t"
            "Confid. env. =\tmax/min  \n\n"
            "t_min =\t1.00\nt_int =\t1.00\nt_max =\t20.00\n\n"
            "No. of points = 150\n"
            "generator: philox, seed 7\n"
            "\nPROCEED  WITH  ANALYSIS  ?\n");

  s.analysis_type = AnalysisType::kBivariate;
  s.process_type = ProcessType::kCluster;
  s.n_simulations = 100;
  s.radius = 2.5;
  s.c = 0.25;
  s.n_centers = 7;
  EXPECT_EQ(
      checked_parameters_text(s, "a1.dat"),
      "FILE :\ta1.dat  \n\nQLOR has recognised the following parameters :  \n"
      "______________________________________  \n\n"
      "Type:\tBivariate pattern analysis\n\n"
      "Process:  Cluster Process\n\n"
      "x-axis =\t100.0\tSimulations =\t100\ny-axis =\t80.0\t"
      "Confid. interval =\tstdev  \n\n"
      "t_min =\t1.00\tCluster  radius =\t2.50\nt_int =\t1.00\t"
      "Probability  'c' =\t0.25\nt_max =\t20.00\tCenters =\t\t7\n\n"
      "No. of points = 150\n"
      "\nNO  DATA  ERRORS  DETECTED\n\n");
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
