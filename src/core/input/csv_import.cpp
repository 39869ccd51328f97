// CSV import: columns found by name (or 1-based number), every row checked
// against the plot before anything is written.
#include "input/csv_import.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <set>
#include <sstream>
#include <string_view>
#include <tuple>

#include "model/decimal.h"
#include "model/lattice.h"

namespace qlor {

namespace {

std::string trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r\n");
  return s.substr(first, last - first + 1);
}

// Index of a column given by header name or 1-based number; -1 if none.
int find_column(const std::vector<std::string>& header,
                const std::string& name) {
  for (std::size_t i = 0; i < header.size(); ++i) {
    if (trim(header[i]) == trim(name)) return static_cast<int>(i);
  }
  int number = 0;
  const auto res =
      std::from_chars(name.data(), name.data() + name.size(), number);
  if (res.ec == std::errc() && res.ptr == name.data() + name.size() &&
      number >= 1 && number <= static_cast<int>(header.size())) {
    return number - 1;
  }
  return -1;
}

std::string header_line(const ImportOptions& o) {
  std::string line;
  for (double v : {o.x_axis, o.y_axis, o.t_min, o.t_interval, o.t_max}) {
    line.append(shortest_decimal(v)).append(" ");
  }
  line.append(std::to_string(o.n_simulations));
  if (o.model != ImportOptions::Model::kCsr) {
    line.append(" ").append(shortest_decimal(o.radius));
    line.append(" ").append(shortest_decimal(o.c));
  }
  if (o.model == ImportOptions::Model::kCluster) {
    line.append(" ").append(std::to_string(o.n_centers));
  }
  return line;
}

// "row N: " followed by the parts (appended one by one: GCC 12 warns
// wrongly about chained string additions at -O3).
std::string row_error(int row, std::initializer_list<std::string_view> parts) {
  std::string text = "row ";
  text.append(std::to_string(row)).append(": ");
  for (auto part : parts) text.append(part);
  return text;
}

bool meets(const RowFilter& f, double v) {
  switch (f.op) {
    case RowFilter::Op::kLess:
      return v < f.value;
    case RowFilter::Op::kLessEqual:
      return v <= f.value;
    case RowFilter::Op::kGreater:
      return v > f.value;
    case RowFilter::Op::kGreaterEqual:
      return v >= f.value;
    case RowFilter::Op::kEqual:
      return v == f.value;
    case RowFilter::Op::kNotEqual:
      return v != f.value;
  }
  return false;
}

}  // namespace

bool parse_row_filter(const std::string& text, RowFilter& filter) {
  // The longest signs first: "<=" before "<".
  static constexpr std::pair<const char*, RowFilter::Op> kSigns[] = {
      {"<=", RowFilter::Op::kLessEqual}, {">=", RowFilter::Op::kGreaterEqual},
      {"==", RowFilter::Op::kEqual},     {"!=", RowFilter::Op::kNotEqual},
      {"<", RowFilter::Op::kLess},       {">", RowFilter::Op::kGreater}};
  const std::size_t at = text.find_first_of("<>=!");
  if (at == std::string::npos || at == 0) return false;
  for (const auto& [sign, op] : kSigns) {
    if (text.compare(at, std::strlen(sign), sign) != 0) continue;
    RowFilter parsed;
    parsed.column = trim(text.substr(0, at));
    parsed.op = op;
    if (parsed.column.empty() ||
        !parse_decimal(trim(text.substr(at + std::strlen(sign))),
                       parsed.value)) {
      return false;
    }
    filter = parsed;
    return true;
  }
  return false;
}

std::vector<std::string> split_csv_record(const std::string& line,
                                          char separator) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char ch = line[i];
    if (quoted) {
      if (ch == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        fields.back() += '"';
        ++i;
      } else if (ch == '"') {
        quoted = false;
      } else {
        fields.back() += ch;
      }
    } else if (ch == '"') {
      quoted = true;
    } else if (ch == separator) {
      fields.emplace_back();
    } else if (ch != '\r' && ch != '\n') {
      fields.back() += ch;
    }
  }
  return fields;
}

char detect_separator(const std::string& header) {
  for (char c : {'\t', ';', ','}) {
    if (header.find(c) != std::string::npos) return c;
  }
  return ',';
}

std::optional<std::string> import_points_csv(const std::string& csv,
                                             const ImportOptions& o,
                                             std::string& error,
                                             ImportReport* report) {
  ImportReport counts;
  std::istringstream in(csv);
  std::string line;
  if (!std::getline(in, line)) {
    error = "the CSV file has no header row";
    return std::nullopt;
  }
  const char separator = detect_separator(line);
  const auto header = split_csv_record(line, separator);
  const int x_col = find_column(header, o.x_column);
  const int y_col = find_column(header, o.y_column);
  const bool by_threshold = !o.threshold_column.empty();
  const bool bivariate = !o.species_column.empty() || by_threshold;
  const int s_col = bivariate
                        ? find_column(header, by_threshold ? o.threshold_column
                                                           : o.species_column)
                        : -1;
  for (const auto& [col, name] :
       {std::pair{x_col, o.x_column}, {y_col, o.y_column}}) {
    if (col < 0) {
      error = "no column '" + name + "' in the header row";
      return std::nullopt;
    }
  }
  if (bivariate && s_col < 0) {
    error = "no column '" +
            (by_threshold ? o.threshold_column : o.species_column) +
            "' in the header row";
    return std::nullopt;
  }
  std::vector<int> filter_cols;
  for (const RowFilter& f : o.filters) {
    filter_cols.push_back(find_column(header, f.column));
    if (filter_cols.back() < 0) {
      error = "no column '" + f.column + "' in the header row (--where)";
      return std::nullopt;
    }
  }
  int first_duplicate = 0;    // its row, 0: none yet
  SimulationLattice lattice;  // the step the x-coordinates give

  std::string text = header_line(o);
  text += '\n';
  std::set<std::pair<double, double>> seen;
  bool has_species[2] = {false, false};
  int row = 1;  // the header row
  int points = 0;
  while (std::getline(in, line)) {
    ++row;
    if (trim(line).empty()) continue;
    const auto fields = split_csv_record(line, separator);
    const auto field = [&](int col) {
      return col < static_cast<int>(fields.size())
                 ? trim(fields[static_cast<std::size_t>(col)])
                 : std::string();
    };
    bool kept = true;
    for (std::size_t k = 0; k < o.filters.size(); ++k) {
      double v = 0;
      if (!parse_decimal(field(filter_cols[k]), v)) {
        error = row_error(row, {"column ", o.filters[k].column, ": '",
                                field(filter_cols[k]), "' is not a number"});
        return std::nullopt;
      }
      kept = kept && meets(o.filters[k], v);
    }
    if (!kept) {
      ++counts.filtered;
      continue;
    }
    if (bivariate && !by_threshold && !o.species2_value.empty() &&
        field(s_col) != trim(o.species1_value) &&
        field(s_col) != trim(o.species2_value)) {
      ++counts.other_species;
      continue;
    }
    double x = 0;
    double y = 0;
    for (const auto& [col, name, v] :
         {std::tuple{x_col, o.x_column, &x}, {y_col, o.y_column, &y}}) {
      if (!parse_decimal(field(col), *v)) {
        error = row_error(
            row, {"column ", name, ": '", field(col), "' is not a number"});
        return std::nullopt;
      }
    }
    if (x < 0 || x >= o.x_axis || y < 0 || y >= o.y_axis) {
      error = row_error(row, {"point (", field(x_col), ", ", field(y_col),
                              ") lies outside the plot"});
      return std::nullopt;
    }
    if (!seen.insert({x, y}).second) {
      // Refused or dropped; either way every duplicate is counted first.
      if (first_duplicate == 0) first_duplicate = row;
      ++counts.duplicates;
      continue;
    }
    update_coordinate_resolution(lattice, x);
    text.append(shortest_decimal(x)).append(" ").append(shortest_decimal(y));
    if (bivariate) {
      int label = field(s_col) == trim(o.species1_value) ? 0 : 1;
      if (by_threshold) {
        double mark = 0;
        if (!parse_decimal(field(s_col), mark)) {
          error = row_error(row, {"column ", o.threshold_column, ": '",
                                  field(s_col), "' is not a number"});
          return std::nullopt;
        }
        label = mark < o.threshold ? 0 : 1;
      }
      has_species[label] = true;
      text += label == 0 ? " 0" : " 1";
    }
    text += "\n";
    ++points;
  }
  if (first_duplicate != 0 && o.duplicates == DuplicateRows::kRefuse) {
    error = row_error(first_duplicate,
                      {"a point at a position already read (",
                       std::to_string(counts.duplicates),
                       " such rows in all; --duplicates drop keeps the "
                       "first of each)"});
    return std::nullopt;
  }
  if (points == 0) {
    error = "the CSV file holds no points";
    return std::nullopt;
  }
  counts.points = points;
  counts.step = lattice.coordinate_resolution / 1000.0;
  counts.spacing = 0.5 * std::sqrt(o.x_axis * o.y_axis / points);
  if (report) *report = counts;
  if (bivariate && !(has_species[0] && has_species[1])) {
    error = "a bivariate file needs points of both species";
    return std::nullopt;
  }
  return text;
}

}  // namespace qlor
