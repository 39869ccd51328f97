// Fuzz target: CSV import. The first byte picks the species, duplicate and
// origin options. Any message is fine; crashes, sanitizer reports, and an
// accepted file with a point outside the plot [0, 10) x [0, 10) or two
// points at one position, are not.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <utility>

#include "input/csv_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t pick = data[0];
  const std::string csv(reinterpret_cast<const char*>(data + 1), size - 1);
  qlor::ImportOptions o;
  o.x_column = "x";
  o.y_column = "y";
  o.x_axis = 10;
  o.y_axis = 10;
  o.t_min = 1;
  o.t_interval = 1;
  o.t_max = 2;
  o.n_simulations = 19;
  if (pick & 1) {
    o.species_column = "s";
    o.species1_value = "a";
    o.species2_value = (pick & 2) ? "*" : (pick & 4) ? "b" : "";
  }
  if (pick & 8) o.origin = {100, -5.5, 0, 1};
  const int policy = (pick >> 4) % 3;
  o.duplicates = policy == 0   ? qlor::DuplicateRows::kRefuse
                 : policy == 1 ? qlor::DuplicateRows::kDrop
                               : qlor::DuplicateRows::kJitter;
  o.jitter_radius = 0.5 + (pick >> 6);
  unsigned state = pick;
  o.uniform = [&state] {
    state = state * 1103515245u + 12345u;
    return (state >> 8) / 16777216.0;
  };
  std::string error;
  const auto text = qlor::import_points_csv(csv, o, error);
  if (!text) return 0;
  std::istringstream in(*text);
  std::string line;
  std::getline(in, line);  // the header
  std::set<std::pair<double, double>> seen;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    double x = -1;
    double y = -1;
    fields >> x >> y;
    if (!(x >= 0 && x < 10 && y >= 0 && y < 10)) std::abort();
    if (!seen.insert({x, y}).second) std::abort();
  }
  return 0;
}
