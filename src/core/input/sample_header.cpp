// The header passes over a sample data file.
#include "input/sample_header.h"

#include <sstream>

#include "input/csv_import.h"
#include "input/header_reader.h"
#include "input/parameter_checks.h"
#include "input/record_reader.h"
#include "model/messages.h"

namespace qlor {

Status read_header_values(const std::string& path, AnalysisState& state,
                          Direction direction_index,
                          Significance significance_index,
                          double& pairs_total_file, std::ifstream& records) {
  {
    std::ifstream in(path, std::ios::binary);
    if (!in) return kFileOpenError;
    if (auto s = read_header(state, in, direction_index, significance_index);
        !s.ok()) {
      return s;
    }
  }
  // Second pass: the header values.
  records.open(path, std::ios::binary);
  if (!records) return kFileOpenError;
  return check_parameters(state, records, pairs_total_file);
}

Status read_header_values(const std::string& path, AnalysisState& state,
                          Direction direction_index,
                          Significance significance_index,
                          double& pairs_total_file) {
  std::ifstream records;
  return read_header_values(path, state, direction_index, significance_index,
                            pairs_total_file, records);
}

std::string sample_text(const RunParameters& p,
                        const std::vector<PointRecord>& points) {
  std::string text;
  for (const double v : {p.x_axis, p.y_axis, p.t_min, p.t_interval, p.t_max}) {
    text += shortest_decimal(v);
    text += ' ';
  }
  text += std::to_string(p.n_simulations);
  if (p.process_type != ProcessType::kCsr) {
    text += ' ' + shortest_decimal(p.radius);
    text += ' ' + shortest_decimal(p.c);
  }
  if (p.process_type == ProcessType::kCluster) {
    text += ' ' + std::to_string(p.n_centers);
  }
  text += '\n';
  const bool bivariate = p.analysis_type == AnalysisType::kBivariate;
  for (const PointRecord& point : points) {
    text += shortest_decimal(point.x);
    text += ' ';
    text += shortest_decimal(point.y);
    if (bivariate) text += point.species == 0 ? " 0" : " 1";
    text += '\n';
  }
  return text;
}

Status read_sample_text(const std::string& text, AnalysisState& state,
                        Direction direction_index,
                        Significance significance_index,
                        double& pairs_total_file) {
  {
    std::istringstream in(text);
    if (auto s = read_header(state, in, direction_index, significance_index);
        !s.ok()) {
      return s;
    }
  }
  std::istringstream records(text);
  if (auto s = check_parameters(state, records, pairs_total_file); !s.ok()) {
    return s;
  }
  return read_samples(state, records);
}

}  // namespace qlor
