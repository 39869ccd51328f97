// Finding and reading the result files of a figure.
#include "plot/result_figure.h"

#include <array>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "results/file_names.h"
#include "model/decimal.h"
#include "results/tmp_file.h"

namespace qlor {

namespace {

namespace fs = std::filesystem;

// The result files of a directional run carry these suffixes, sector 0 to
// 3, before ".ktt".
struct SectorGroup {
  const char* name;
  const char* tag;
  std::array<const char*, 4> suffixes;
};
constexpr SectorGroup kSectorGroups[] = {
    {"cardinal sectors", "cardinal", {"_W4", "_N4", "_E4", "_S4"}},
    {"diagonal sectors", "diagonal", {"_SW", "_NW", "_NE", "_SE"}},
    {"half-planes", "half-planes", {"_W2", "_N2", "_E2", "_S2"}},
};

bool is_file(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

bool ends_with(const std::string& s, const std::string& end) {
  return s.size() >= end.size() &&
         s.compare(s.size() - end.size(), end.size(), end) == 0;
}

std::string lower_extension(const std::string& path) {
  std::string ext = fs::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(c));
  return ext;
}

// The four sector files of `base`, when all of them exist.
std::vector<std::string> sector_files(const std::string& base,
                                      const SectorGroup& group) {
  std::vector<std::string> files;
  for (const char* suffix : group.suffixes) {
    std::string file = base + suffix + ".ktt";
    if (!is_file(file)) return {};
    files.push_back(std::move(file));
  }
  return files;
}

// The number of simulations that a sample data file's header names (its
// sixth item); 0 when the file or the item is missing.
int read_simulation_count(const std::string& sample_path) {
  std::ifstream in(sample_path, std::ios::binary);
  std::string line;
  if (!in || !std::getline(in, line)) return 0;
  std::istringstream items(line);
  std::string item;
  for (int k = 0; k < 6; ++k) {
    if (!(items >> item)) return 0;
  }
  int n = 0;
  const auto res = std::from_chars(item.data(), item.data() + item.size(), n);
  if (res.ec != std::errc() || res.ptr != item.data() + item.size()) return 0;
  return n >= 1 ? n : 0;
}

std::string read_series(const std::string& path, ResultSeries& series) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "Cannot open " + path;
  std::ostringstream text;
  text << in.rdbuf();
  if (auto s = parse_result_text(text.str(), series); !s.empty()) {
    return "Cannot read " + path_title(path) + ": " + s;
  }
  return {};
}

}  // namespace

std::string parse_result_text(const std::string& text, ResultSeries& series) {
  series = {};
  std::istringstream in(text);
  std::string line;
  for (int n = 1; std::getline(in, line); ++n) {
    std::istringstream items(line);
    std::string item;
    double v[4] = {};
    int count = 0;
    bool numbers = true;
    while (items >> item) {
      if (count < 4) numbers = numbers && parse_decimal(item, v[count]);
      ++count;
    }
    if (count == 0) continue;
    if (count != 4 || !numbers) {
      return "line " + std::to_string(n) + " is not 't upper lower observed'";
    }
    series.t.push_back(v[0]);
    series.upper.push_back(v[1]);
    series.lower.push_back(v[2]);
    series.observed.push_back(v[3]);
  }
  if (series.t.empty()) return "the file holds no values";
  return {};
}

EnvelopeKind envelope_kind(int n_simulations) {
  if (n_simulations < 1) return EnvelopeKind::kUnknown;
  return n_simulations < 100 ? EnvelopeKind::kMinMax : EnvelopeKind::kStdev;
}

std::string envelope_label(EnvelopeKind kind, int n_simulations) {
  std::string label;
  if (kind == EnvelopeKind::kMinMax) label = "max/min envelope of ";
  if (kind == EnvelopeKind::kStdev) label = "mean ± 1.96 sd envelope of ";
  if (label.empty()) return label;
  return label + std::to_string(n_simulations) + " simulations";
}

std::string load_result_figure(const std::string& path, ResultFigure& figure) {
  figure = {};
  const bool is_result = lower_extension(path) == ".ktt";
  // The stem as the program forms it: up to the first dot of the name.
  const std::string stem = change_extension(path, "");
  std::string base = stem;
  std::vector<std::string> files;
  const SectorGroup* group = nullptr;
  for (const SectorGroup& g : kSectorGroups) {
    for (const char* suffix : g.suffixes) {
      if (!is_result || !ends_with(stem, suffix)) continue;
      const std::string candidate = stem.substr(0, stem.size() - 3);
      if (auto found = sector_files(candidate, g); !found.empty()) {
        base = candidate;
        files = std::move(found);
        group = &g;
      }
    }
  }
  if (is_result && files.empty()) files.push_back(path);
  if (!is_result) {
    // A sample data file: its result file, else the sector files of the
    // first direction that has all four.
    if (is_file(stem + ".ktt")) files.push_back(stem + ".ktt");
    for (const SectorGroup& g : kSectorGroups) {
      if (!files.empty()) break;
      files = sector_files(stem, g);
      if (!files.empty()) group = &g;
    }
    if (files.empty()) {
      return "No result file for " + path_title(path) + " (" +
             path_title(stem) + ".ktt or the files of a directional run)";
    }
  }

  for (const std::string& file : files) {
    FigurePanel panel;
    panel.title = path_title(file);
    panel.file = file;
    if (auto s = read_series(file, panel.series); !s.empty()) return s;
    figure.panels.push_back(std::move(panel));
  }
  figure.n_simulations =
      read_simulation_count(is_result ? base + ".dat" : path);
  figure.envelope = envelope_kind(figure.n_simulations);
  if (group) {
    figure.title = path_title(base) + " - " + group->name;
    figure.default_output = base + "_" + group->tag + ".svg";
  } else {
    figure.title = path_title(files.front());
    figure.default_output = change_extension(files.front(), ".svg");
  }
  const std::string label =
      envelope_label(figure.envelope, figure.n_simulations);
  if (!label.empty()) figure.title += " - " + label;
  return {};
}

}  // namespace qlor
