// The summary is assembled from fixed pieces; the numbers use the C locale's
// decimal point whatever the process locale.
#include "input/parameter_summary.h"

#include <cstdio>

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
  append_format(text, "x-axis =\t%.1lf\tSimulations =\t%d\ny-axis =\t%.1lf\t",
                s.x_axis, s.n_simulations, s.y_axis);
  text += s.n_simulations >= 100 ? "Confid. interval =\tstdev  \n\n"
                                 : "Confid. env. =\tmax/min  \n\n";
  if (s.process_type == ProcessType::kCsr) {
    append_format(text, "t_min =\t%.2lf\nt_int =\t%.2lf\nt_max =\t%.2lf\n\n",
                  s.t_min, s.t_interval, s.t_max);
  } else if (s.process_type == ProcessType::kInhibition) {
    append_format(text,
                  "t_min =\t%.2lf\tInhibition  radius =\t%.2lf\nt_int =\t%.2lf"
                  "\tProbability  'c' =\t%.2lf\nt_max =\t%.2lf\n\n",
                  s.t_min, s.radius, s.t_interval, s.c, s.t_max);
  } else {
    append_format(
        text,
        "t_min =\t%.2lf\tCluster  radius =\t%.2lf\nt_int =\t%.2lf"
        "\tProbability  'c' =\t%.2lf\nt_max =\t%.2lf\tCenters =\t\t%d\n\n",
        s.t_min, s.radius, s.t_interval, s.c, s.t_max, s.n_centers);
  }
  if (!model.empty() && s.process_type != ProcessType::kCsr) {
    text += s.process_type == ProcessType::kInhibition
                ? "(the header's inhibition parameters are not used)\n\n"
                : "(the header's cluster parameters are not used)\n\n";
  }
  append_format(text, "No. of points = %d\n", s.n_points);
  return text;
}

}  // namespace

std::string confirm_parameters_text(const AnalysisState& state,
                                    const std::string& run_line,
                                    const std::string& model) {
  return "QLOR has recognised the following parameters :  "
         "______________________________________\n\n" +
         summary_body(state, model) + run_line + "\n\nPROCEED  WITH  ANALYSIS  ?\n";
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
