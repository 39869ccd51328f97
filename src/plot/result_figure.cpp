// Finding and reading the result files of a figure.
#include "plot/result_figure.h"

#include <array>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

#include "analysis/pattern_run.h"
#include "analysis/run_name.h"
#include "model/decimal.h"
#include "model/settings.h"
#include "results/file_names.h"
#include "results/tmp_file.h"
#include "statistics/summary_function.h"

namespace qlor {

namespace {

namespace fs = std::filesystem;

// The result files of a directional run carry the direction's sector
// suffixes, sector 0 to 3, before ".ktt".
struct SectorGroup {
  const char* name;
  const char* tag;
  Direction direction;
};
constexpr SectorGroup kSectorGroups[] = {
    {"cardinal sectors", "cardinal", Direction::kCardinal},
    {"diagonal sectors", "diagonal", Direction::kDiagonal},
    {"half-planes", "half-planes", Direction::kHalfPlanes},
};

bool is_file(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

// The four sector files of `base`, when all of them exist, in the cells of
// the 2 x 2 figure as a compass shows them: north (or north-west) top left,
// east (north-east) top right, west (south-west) bottom left, south
// (south-east) bottom right. The runs write them W, N, E, S (SW, NW, NE,
// SE).
std::vector<std::string> sector_files(const std::string& base,
                                      const SectorGroup& group) {
  constexpr std::size_t kCompassCells[] = {1, 2, 0, 3};
  const auto suffixes = sector_suffixes_for(group.direction);
  std::vector<std::string> files;
  for (const std::size_t k : kCompassCells) {
    std::string file = base + suffixes[k] + ".ktt";
    if (!is_file(file)) return {};
    files.push_back(std::move(file));
  }
  return files;
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
    for (const std::string& suffix : sector_suffixes_for(g.direction)) {
      if (!is_result || !stem.ends_with(suffix)) continue;
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
    // A sample data file: the sector files of the first direction that has
    // all four, else its result file (of L, else of g, O and the
    // inhomogeneous ones). A plain result beside the sectors is drawn by
    // naming it.
    for (const SectorGroup& g : kSectorGroups) {
      if (!files.empty()) break;
      files = sector_files(stem, g);
      if (!files.empty()) group = &g;
    }
    for (const char* suffix : {"", "_g", "_O", "_Linhom", "_ginhom"}) {
      const std::string file = stem + suffix + ".ktt";
      if (files.empty() && is_file(file)) files.push_back(file);
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
  // The sample data file of a g or O run is named without the function's
  // suffix.
  const std::string run_stem =
      files.size() == 1 ? change_extension(files.front(), "") : base;
  const RunName run = parse_run_name(run_stem + ".ktt");
  const FunctionKind function = run.function;
  const std::string sample_path = !is_result                ? path
                                  : run.sample_path.empty() ? run_stem + ".dat"
                                                            : run.sample_path;
  AnalysisState sample;
  const bool sample_read =
      read_run_sample(sample_path, function, Significance::kNone, sample).ok();
  figure.n_simulations = sample_read ? sample.n_simulations : 0;
  // O's value under CSR needs the sample's counts: without them, no line.
  figure.axis_label = function_label(function);
  figure.reference = function == FunctionKind::kO && !sample_read
                         ? std::numeric_limits<double>::quiet_NaN()
                         : csr_value_of(function, sample, run.pairs);
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
