// Reading and checking an intensity grid: the rows first, then the grid
// their centres form, then its coverage of the plot.
#include "input/intensity_grid.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>

#include "input/csv_import.h"
#include "model/decimal.h"

namespace qlor {

namespace {

constexpr double kTolerance = 1e-9;  // of a cell

std::string trimmed(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r\n\"");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r\n\"");
  return s.substr(first, last - first + 1);
}

struct GridRow {
  int row;  // 1 is the header
  double x;
  double y;
  double value[2];
};

// The distinct centres along one axis, their spacing and their first, or
// the message when they are not evenly spaced.
Status axis_lattice(std::vector<double> v, const std::string& axis,
                    const std::string& name, double& first, double& spacing,
                    std::int32_t& count) {
  std::sort(v.begin(), v.end());
  v.erase(std::unique(v.begin(), v.end()), v.end());
  first = v.front();
  count = static_cast<std::int32_t>(v.size());
  if (v.size() < 2) {
    return name + ": the grid needs at least two cell centres along " + axis;
  }
  spacing = (v.back() - v.front()) / static_cast<double>(v.size() - 1);
  if (!std::isfinite(spacing)) {
    return name + ": the cell centres along " + axis + " span too far";
  }
  for (std::size_t i = 0; i < v.size(); ++i) {
    const double want = first + static_cast<double>(i) * spacing;
    if (std::fabs(v[i] - want) > kTolerance * spacing) {
      return name + ": the cell centres along " + axis +
             " are not evenly spaced (" + shortest_decimal(v[i]) + ")";
    }
  }
  return {};
}

}  // namespace

Status parse_intensity_grid(const std::string& text, const std::string& name,
                            bool bivariate, double x_axis, double y_axis,
                            IntensityGrid& grid) {
  grid = {};
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || trimmed(line).empty()) {
    return name + ": the file is empty";
  }
  const char separator = detect_separator(line);
  const std::vector<std::string> header = split_csv_record(line, separator);
  const std::vector<std::string> wanted =
      bivariate ? std::vector<std::string>{"x", "y", "intensity1", "intensity2"}
                : std::vector<std::string>{"x", "y", "intensity"};
  std::vector<std::size_t> column;
  for (const std::string& w : wanted) {
    const auto it =
        std::find_if(header.begin(), header.end(),
                     [&](const auto& h) { return trimmed(h) == w; });
    if (it == header.end()) return name + ": no column '" + w + "'";
    column.push_back(static_cast<std::size_t>(it - header.begin()));
  }
  const std::size_t species = bivariate ? 2 : 1;
  std::vector<GridRow> rows;
  for (int row = 2; std::getline(in, line); ++row) {
    if (trimmed(line).empty()) continue;
    const std::vector<std::string> fields = split_csv_record(line, separator);
    GridRow r{row, 0, 0, {0, 0}};
    double* targets[] = {&r.x, &r.y, &r.value[0], &r.value[1]};
    for (std::size_t k = 0; k < column.size(); ++k) {
      if (column[k] >= fields.size() ||
          !parse_decimal(trimmed(fields[column[k]]), *targets[k])) {
        return name + ", row " + std::to_string(row) + ": '" + wanted[k] +
               "' is not a number";
      }
    }
    for (std::size_t s = 0; s < species; ++s) {
      if (!std::isfinite(r.value[s]) || r.value[s] < 0) {
        return name + ", row " + std::to_string(row) +
               ": an intensity must be a finite number, not negative";
      }
    }
    if (!std::isfinite(r.x) || !std::isfinite(r.y)) {
      return name + ", row " + std::to_string(row) +
             ": a cell centre must be a finite number";
    }
    rows.push_back(r);
  }
  if (rows.empty()) return name + ": the file holds no cells";

  std::vector<double> xs, ys;
  for (const GridRow& r : rows) {
    xs.push_back(r.x);
    ys.push_back(r.y);
  }
  if (auto s = axis_lattice(xs, "x", name, grid.x0, grid.dx, grid.nx);
      !s.ok()) {
    return s;
  }
  if (auto s = axis_lattice(ys, "y", name, grid.y0, grid.dy, grid.ny);
      !s.ok()) {
    return s;
  }
  const auto cells = static_cast<std::size_t>(grid.nx) * grid.ny;
  // Checked before the grid is made: a few rows can span a huge grid.
  if (rows.size() < cells) {
    return name + ": " + std::to_string(cells - rows.size()) +
           " cells of the " + std::to_string(grid.nx) + " x " +
           std::to_string(grid.ny) + " grid are missing";
  }
  grid.values.assign(species, std::vector<double>(cells, 0.0));
  std::vector<int> row_of(cells, 0);
  for (const GridRow& r : rows) {
    const auto i =
        static_cast<std::size_t>(std::lround((r.x - grid.x0) / grid.dx));
    const auto j =
        static_cast<std::size_t>(std::lround((r.y - grid.y0) / grid.dy));
    const std::size_t cell = j * static_cast<std::size_t>(grid.nx) + i;
    if (row_of[cell] != 0) {
      return name + ", row " + std::to_string(r.row) + ": the cell of row " +
             std::to_string(row_of[cell]) + " again";
    }
    row_of[cell] = r.row;
    for (std::size_t s = 0; s < species; ++s) grid.values[s][cell] = r.value[s];
  }
  // The cells [c - d/2, c + d/2) must reach from 0 to the plot's far edge.
  const double x_low = grid.x0 - grid.dx / 2;
  const double x_high = grid.x0 + (grid.nx - 0.5) * grid.dx;
  const double y_low = grid.y0 - grid.dy / 2;
  const double y_high = grid.y0 + (grid.ny - 0.5) * grid.dy;
  if (x_low > kTolerance * grid.dx || x_high < x_axis - kTolerance * grid.dx ||
      y_low > kTolerance * grid.dy || y_high < y_axis - kTolerance * grid.dy) {
    char coverage[256];
    std::snprintf(coverage, sizeof coverage,
                  ": the grid covers [%.6g, %.6g) x [%.6g, %.6g), not the "
                  "whole plot [0, %.6g) x [0, %.6g)",
                  x_low, x_high, y_low, y_high, x_axis, y_axis);
    return name + coverage;
  }
  return {};
}

Status read_intensity_grid(const std::string& path, bool bivariate,
                           double x_axis, double y_axis, IntensityGrid& grid) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return path + ": the file cannot be opened";
  std::ostringstream text;
  text << in.rdbuf();
  return parse_intensity_grid(text.str(), path, bivariate, x_axis, y_axis,
                              grid);
}

}  // namespace qlor
