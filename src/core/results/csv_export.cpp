// CSV export of result and test files.
#include "results/csv_export.h"

#include <sstream>
#include <vector>

#include "model/decimal.h"
#include "results/tmp_file.h"

namespace qlor {

namespace {

std::vector<std::string> split_blanks(const std::string& line) {
  std::vector<std::string> tokens;
  std::istringstream in(line);
  std::string token;
  while (in >> token) tokens.push_back(token);
  return tokens;
}

bool all_numbers(const std::vector<std::string>& tokens) {
  double v = 0;
  for (const auto& t : tokens) {
    if (!parse_decimal(t, v)) return false;
  }
  return true;
}

std::string join(const std::vector<std::string>& tokens) {
  std::string line;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    if (i > 0) line += ',';
    line += tokens[i];
  }
  return line + "\n";
}

}  // namespace

std::optional<std::string> result_file_to_csv(const std::string& text,
                                              std::string& error) {
  std::istringstream in(text);
  std::string csv = "t,upper,lower,observed\n";
  std::string line;
  for (int n = 1; std::getline(in, line); ++n) {
    const auto tokens = split_blanks(line);
    if (tokens.empty()) continue;
    if (tokens.size() != 4 || !all_numbers(tokens)) {
      error = "line " + std::to_string(n) + " is not 't upper lower observed'";
      return std::nullopt;
    }
    csv += join(tokens);
  }
  return csv;
}

std::optional<std::string> test_file_to_csv(const std::string& text,
                                            std::string& error) {
  std::istringstream in(text);
  std::string csv = "rank,statistic,observed\n";
  std::string line;
  for (int n = 1; std::getline(in, line); ++n) {
    auto tokens = split_blanks(line);
    if (tokens.empty()) continue;
    const bool marked = tokens.size() == 3 && tokens[2] == "*";
    if (marked) tokens.pop_back();
    if (tokens.size() != 2 || !all_numbers(tokens)) {
      error = "line " + std::to_string(n) + " is not 'rank statistic [*]'";
      return std::nullopt;
    }
    tokens.emplace_back(marked ? "1" : "0");
    csv += join(tokens);
  }
  return csv;
}

}  // namespace qlor
