// The header passes over a sample data file.
#include "input/sample_header.h"

#include "input/header_reader.h"
#include "input/parameter_checks.h"
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

}  // namespace qlor
