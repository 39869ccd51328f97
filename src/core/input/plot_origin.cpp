// The origin file and the decimal arithmetic that keeps survey coordinates
// exact when they are moved to the plot's corner and back.
#include "input/plot_origin.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "model/decimal.h"

namespace qlor {

namespace {

constexpr int kMaxDecimals = 9;

std::string trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r\n");
  return s.substr(first, last - first + 1);
}

}  // namespace

int decimal_places(std::string_view token) {
  if (token.find_first_of("eE") != std::string_view::npos) return -1;
  const auto point = token.find('.');
  if (point == std::string_view::npos) return 0;
  return static_cast<int>(token.size() - point - 1);
}

double decimal_sum(double a, double b, int decimals) {
  const double sum = a + b;
  if (decimals < 0 || decimals > kMaxDecimals || !std::isfinite(sum)) {
    return sum;
  }
  const double scale = std::pow(10.0, decimals);  // exact for <= 22
  const double units = std::round(sum * scale);
  // Beyond 2^53 units the doubles hold no finer decimals than the sum.
  if (!(std::fabs(units) < 9007199254740992.0)) return sum;
  return units / scale;  // the double nearest units * 10^-decimals
}

std::string origin_file_text(const PlotOrigin& origin) {
  return "# Plot origin in the survey's coordinates: add it to x and y of "
         "the sample file.\nx " +
         shortest_decimal(origin.x) + "\ny " + shortest_decimal(origin.y) +
         "\n";
}

Status parse_origin_file(const std::string& text, const std::string& name,
                         PlotOrigin& origin) {
  PlotOrigin read;
  bool seen[2] = {false, false};
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    const std::string content = trim(line);
    if (content.empty() || content.front() == '#') continue;
    const auto blank = content.find_first_of(" \t");
    const std::string key = content.substr(0, blank);
    const std::string value = blank == std::string::npos
                                  ? std::string()
                                  : trim(content.substr(blank));
    const int axis = key == "x" ? 0 : key == "y" ? 1 : -1;
    const std::string where = name + ", line " + std::to_string(number) + ": ";
    if (axis < 0) {
      return where + "expected 'x VALUE' or 'y VALUE', not '" + content + "'";
    }
    double v = 0;
    if (!parse_decimal(value, v) || !std::isfinite(v)) {
      return where + "'" + value + "' is not a number";
    }
    if (seen[axis]) return where + key + " is given twice";
    seen[axis] = true;
    (axis == 0 ? read.x : read.y) = v;
    (axis == 0 ? read.x_decimals : read.y_decimals) = decimal_places(value);
  }
  if (!seen[0] || !seen[1]) {
    return name + ": the origin needs both 'x VALUE' and 'y VALUE'";
  }
  origin = read;
  return {};
}

Status read_plot_origin(const std::string& path, PlotOrigin& origin) {
  origin = PlotOrigin{};
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) return {};
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  if (!in) return path + ": cannot be read";
  return parse_origin_file(text.str(), path, origin);
}

}  // namespace qlor
