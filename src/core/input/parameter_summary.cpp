// The summary is assembled from fixed pieces; the header's numbers are
// shown as read, in their shortest exact decimal form, whatever the
// process locale.
#include "input/parameter_summary.h"

#include <cstdio>

#include "model/decimal.h"

namespace qlor {

namespace {

template <class... Args>
void append_format(std::string& out, const char* format, Args... args) {
  const int n = std::snprintf(nullptr, 0, format, args...);
  if (n <= 0) return;
  std::string piece(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(piece.data(), piece.size(), format, args...);
  piece.pop_back();
  out += piece;
}

std::string summary_body(const AnalysisState& s, const std::string& model) {
  std::string text = s.analysis_type == AnalysisType::kUnivariate
                         ? "Type:\tUnivariate pattern analysis\n\n"
                         : "Type:\tBivariate pattern analysis\n\n";
  if (!model.empty()) {
    text += "Process:  " + model + "\n\n";
  } else if (s.process_type == ProcessType::kCsr) {
    text += "Process:  Complete Spatial Randomness (CSR)\n\n";
  } else if (s.process_type == ProcessType::kInhibition) {
    text += s.c == 0 ? "Process:  Simple Sequential Inhibition (SSI)\n\n"
                     : "Process:  Strauss Process (inhibition)\n\n";
  } else {
    text += "Process:  Cluster Process\n\n";
  }
  // The values as read: the shortest decimal that reads back exactly.
  const std::string x = shortest_decimal(s.x_axis);
  const std::string y = shortest_decimal(s.y_axis);
  const std::string t_min = shortest_decimal(s.t_min);
  const std::string t_int = shortest_decimal(s.t_interval);
  const std::string t_max = shortest_decimal(s.t_max);
  const std::string radius = shortest_decimal(s.radius);
  const std::string c = shortest_decimal(s.c);
  append_format(text, "x-axis =\t%s\tSimulations =\t%d\ny-axis =\t%s\t",
                x.c_str(), s.n_simulations, y.c_str());
  text += s.n_simulations >= 100 ? "Confid. interval =\tstdev  \n\n"
                                 : "Confid. env. =\tmax/min  \n\n";
  if (s.process_type == ProcessType::kCsr) {
    append_format(text, "t_min =\t%s\nt_int =\t%s\nt_max =\t%s\n\n",
                  t_min.c_str(), t_int.c_str(), t_max.c_str());
  } else if (s.process_type == ProcessType::kInhibition) {
    append_format(text,
                  "t_min =\t%s\tInhibition  radius =\t%s\nt_int =\t%s"
                  "\tProbability  'c' =\t%s\nt_max =\t%s\n\n",
                  t_min.c_str(), radius.c_str(), t_int.c_str(), c.c_str(),
                  t_max.c_str());
  } else {
    append_format(text,
                  "t_min =\t%s\tCluster  radius =\t%s\nt_int =\t%s"
                  "\tProbability  'c' =\t%s\nt_max =\t%s\tCenters =\t\t%d"
                  "\n\n",
                  t_min.c_str(), radius.c_str(), t_int.c_str(), c.c_str(),
                  t_max.c_str(), s.n_centers);
  }
  if (!model.empty() && s.process_type != ProcessType::kCsr) {
    text += s.process_type == ProcessType::kInhibition
                ? "(the header's inhibition parameters are not used)\n\n"
                : "(the header's cluster parameters are not used)\n\n";
  }
  append_format(text, "No. of points = %d\n", s.n_points);
  if (s.analysis_type == AnalysisType::kBivariate) {
    append_format(text, "Species 1 = %d\tSpecies 2 = %d\n",
                  s.n_species1_observed, s.n_species2_observed);
  }
  return text;
}

}  // namespace

std::string confirm_parameters_text(const AnalysisState& state,
                                    const std::string& run_line,
                                    const std::string& model) {
  return "QLOR has recognised the following parameters :  "
         "______________________________________\n\n" +
         summary_body(state, model) + run_line +
         "\n\nPROCEED  WITH  ANALYSIS  ?\n";
}

std::string checked_parameters_text(const AnalysisState& state,
                                    const std::string& file_title) {
  std::string text;
  append_format(
      text,
      "FILE :\t%s  \n\nQLOR has recognised the following parameters :  \n",
      file_title.c_str());
  return text + "______________________________________  \n\n" +
         summary_body(state, {}) + "\nNO  DATA  ERRORS  DETECTED\n\n";
}

}  // namespace qlor
