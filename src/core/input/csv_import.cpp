// CSV import: columns found by name (or 1-based number), every row checked
// against the plot before anything is written.
#include "input/csv_import.h"

#include <algorithm>
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

struct KeptRow {
  int row;  // 0: dropped
  double x;
  double y;
  int label;
};

// The lattice position `shift` steps of `units` thousandths from the one
// nearest v, computed from whole numbers so that it is the double nearest
// its decimal value.
double on_lattice(double v, std::int32_t units, int shift) {
  const double k = std::round(v * 1000 / units) + shift;
  return k * units / 1000;
}

// Moves the duplicate p by a uniform offset in the disc of the jitter
// radius, rounded to the lattice, to a position inside the plot that no
// row holds; returns "" or the message naming the row.
std::string jitter(KeptRow& p, const ImportOptions& o, std::int32_t units,
                   std::set<std::pair<double, double>>& taken) {
  const double r = o.jitter_radius;
  const double step = units / 1000.0;
  if (r < step) {
    return row_error(
        p.row, {"a point at a position already read, and the jitter "
                "radius ",
                shortest_decimal(r), " is below the coordinate step ",
                shortest_decimal(step), ": every move would round back to it"});
  }
  constexpr int kAttempts = 1000;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    const double dx = (2 * o.uniform() - 1) * r;
    const double dy = (2 * o.uniform() - 1) * r;
    if (dx * dx + dy * dy > r * r) continue;
    const double x = on_lattice(p.x + dx, units, 0);
    const double y = on_lattice(p.y + dy, units, 0);
    if (x < 0 || x >= o.x_axis || y < 0 || y >= o.y_axis) continue;
    if (!taken.insert({x, y}).second) continue;
    p.x = x;
    p.y = y;
    return {};
  }
  return row_error(p.row, {"no free position within ", shortest_decimal(r),
                           " of this duplicated point"});
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
  const bool by_species = !by_threshold && !o.species_column.empty();
  const bool bivariate =
      by_threshold || (by_species && !o.species2_value.empty());
  const int s_col = by_threshold || by_species
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
  if ((by_threshold || by_species) && s_col < 0) {
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

  // The rows kept, moved to the plot's corner.
  std::vector<KeptRow> kept;
  const std::string species1 = trim(o.species1_value);
  const std::string species2 = trim(o.species2_value);
  int row = 1;  // the header row
  while (std::getline(in, line)) {
    ++row;
    if (trim(line).empty()) continue;
    const auto fields = split_csv_record(line, separator);
    const auto field = [&](int col) {
      return col < static_cast<int>(fields.size())
                 ? trim(fields[static_cast<std::size_t>(col)])
                 : std::string();
    };
    bool meets_all = true;
    for (std::size_t k = 0; k < o.filters.size(); ++k) {
      double v = 0;
      if (!parse_decimal(field(filter_cols[k]), v)) {
        error = row_error(row, {"column ", o.filters[k].column, ": '",
                                field(filter_cols[k]), "' is not a number"});
        return std::nullopt;
      }
      meets_all = meets_all && meets(o.filters[k], v);
    }
    if (!meets_all) {
      ++counts.filtered;
      continue;
    }
    int label = 0;
    if (by_species && field(s_col) != species1) {
      if (species2.empty() ||
          (species2 != kEveryOtherSpecies && field(s_col) != species2)) {
        ++counts.other_species;
        continue;
      }
      label = 1;
    }
    KeptRow point{row, 0, 0, label};
    for (const auto& [col, name, v, shift, decimals] :
         {std::tuple{x_col, o.x_column, &point.x, o.origin.x,
                     o.origin.x_decimals},
          {y_col, o.y_column, &point.y, o.origin.y, o.origin.y_decimals}}) {
      const std::string text = field(col);
      if (!parse_decimal(text, *v)) {
        error =
            row_error(row, {"column ", name, ": '", text, "' is not a number"});
        return std::nullopt;
      }
      const int places = decimal_places(text);
      if (shift != 0) {
        *v = decimal_sum(
            *v, -shift,
            places < 0 || decimals < 0 ? -1 : std::max(places, decimals));
      }
      *v += 0.0;  // no "-0" in the sample file
    }
    if (!(point.x >= 0 && point.x <= o.x_axis && point.y >= 0 &&
          point.y <= o.y_axis)) {
      error = row_error(row, {"point (", field(x_col), ", ", field(y_col),
                              ") lies outside the plot"});
      return std::nullopt;
    }
    if (by_threshold) {
      double mark = 0;
      if (!parse_decimal(field(s_col), mark)) {
        error = row_error(row, {"column ", o.threshold_column, ": '",
                                field(s_col), "' is not a number"});
        return std::nullopt;
      }
      point.label = mark < o.threshold ? 0 : 1;
    }
    kept.push_back(point);
  }
  if (kept.empty()) {
    error = by_species && !bivariate
                ? "no row of species '" + species1 + "' in column '" +
                      o.species_column + "'"
                : std::string("the CSV file holds no points");
    return std::nullopt;
  }

  // The lattice the coordinates give, and the points on the plot's upper
  // or right edge moved onto its last step inside.
  SimulationLattice lattice;
  for (const KeptRow& p : kept) update_coordinate_resolution(lattice, p.x);
  const std::int32_t units = lattice.coordinate_resolution;  // thousandths
  for (KeptRow& p : kept) {
    bool moved = false;
    for (const auto& [v, side] :
         {std::pair{&p.x, o.x_axis}, {&p.y, o.y_axis}}) {
      if (*v < side) continue;
      *v = on_lattice(*v, units, -1);
      moved = true;
    }
    if (moved) ++counts.on_edge;
  }
  const double step = units / 1000.0;

  // Duplicated positions: a later row at a position an earlier one holds.
  std::set<std::pair<double, double>> taken;
  for (const KeptRow& p : kept) taken.insert({p.x, p.y});
  std::set<std::pair<double, double>> first_seen;
  int first_duplicate = 0;  // its row, 0: none
  for (KeptRow& p : kept) {
    if (first_seen.insert({p.x, p.y}).second) continue;
    if (first_duplicate == 0) first_duplicate = p.row;
    ++counts.duplicates;
    if (o.duplicates != DuplicateRows::kJitter) {
      p.row = 0;  // dropped (or the import refused below)
      continue;
    }
    if (auto moved = jitter(p, o, units, taken); !moved.empty()) {
      error = moved;
      return std::nullopt;
    }
    ++counts.jittered;
  }
  if (first_duplicate != 0 && o.duplicates == DuplicateRows::kRefuse) {
    error = row_error(first_duplicate,
                      {"a point at a position already read (",
                       std::to_string(counts.duplicates),
                       " such rows in all; --duplicates drop keeps the "
                       "first of each, jitter:R moves the others)"});
    return std::nullopt;
  }
  if (o.duplicates == DuplicateRows::kJitter) counts.duplicates = 0;

  std::string text = header_line(o);
  text += '\n';
  bool has_species[2] = {false, false};
  for (const KeptRow& p : kept) {
    if (p.row == 0) continue;
    text.append(shortest_decimal(p.x))
        .append(" ")
        .append(shortest_decimal(p.y));
    if (bivariate) text += p.label == 0 ? " 0" : " 1";
    text += '\n';
    has_species[p.label] = true;
    ++counts.points;
  }
  counts.step = step;
  counts.spacing = 0.5 * std::sqrt(o.x_axis * o.y_axis / counts.points);
  if (report) *report = counts;
  if (bivariate && !(has_species[0] && has_species[1])) {
    error = "a bivariate file needs points of both species";
    return std::nullopt;
  }
  return text;
}

}  // namespace qlor
