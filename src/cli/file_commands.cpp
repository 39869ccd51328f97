// export and import: file conversions that need no analysis run.
#include "cli/file_commands.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "input/csv_import.h"
#include "input/plot_origin.h"
#include "model/decimal.h"
#include "results/csv_export.h"
#include "results/file_names.h"
#include "results/tmp_file.h"
#include "results/whole_file.h"
#include "simulation/philox_draws.h"

namespace qlor {

namespace {

bool read_text(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  text = s.str();
  return !in.bad();
}

// "MIN:STEP:MAX" with a positive step and MAX not below MIN.
bool parse_distances(const std::string& text, ImportOptions& o) {
  std::string parts[3];
  std::istringstream in(text);
  for (auto& part : parts) std::getline(in, part, ':');
  std::string rest;
  if (std::getline(in, rest) || text.find(':') == std::string::npos) {
    return false;
  }
  return parse_decimal(parts[0], o.t_min) &&
         parse_decimal(parts[1], o.t_interval) &&
         parse_decimal(parts[2], o.t_max) && o.t_interval > 0 &&
         o.t_max >= o.t_min;
}

int run_export(const FileCommands& c, std::ostream& out, std::ostream& err) {
  const std::string ext = lower_extension(c.file);
  const bool result = ext == ".ktt";
  if (!result && ext != ".sup" && ext != ".cvm") {
    err << "qlor: export takes a result file (.ktt) or a test file (.sup, "
           ".cvm), not '"
        << c.file << "'\n";
    return 2;
  }
  std::string text;
  if (!read_text(c.file, text)) {
    err << "qlor: cannot open '" << c.file << "'\n";
    return 1;
  }
  std::string error;
  const auto csv =
      result ? result_file_to_csv(text, error) : test_file_to_csv(text, error);
  if (!csv) {
    err << "qlor: " << path_title(c.file) << ": " << error << '\n';
    return 1;
  }
  if (c.output.empty()) {
    out << *csv << std::flush;
    return 0;
  }
  if (auto failed = write_command_file(c.output, *csv); !failed.empty()) {
    err << failed;
    return 1;
  }
  err << "qlor: wrote '" << c.output << "'\n";
  return 0;
}

int run_import(const FileCommands& c, std::ostream& err) {
  ImportOptions o;
  o.x_column = c.x_column;
  o.y_column = c.y_column;
  o.species_column = c.species_column;
  o.species1_value = c.species1_value;
  o.species2_value = c.species2_value;
  o.n_simulations = c.n_simulations;
  if (!parse_plot_extent(c.plot_size, o.x_axis, o.y_axis, o.origin)) {
    err << "qlor: --plot takes WIDTHxHEIGHT, such as 100x50, or "
           "XMIN:XMAX,YMIN:YMAX with each maximum above its minimum, such as "
           "634500:634600,5100000:5100050\n";
    return 2;
  }
  if (!parse_distances(c.distances, o)) {
    err << "qlor: --t takes MIN:STEP:MAX with a positive step, such as "
           "1:1:25\n";
    return 2;
  }
  if (c.c && !c.inhibition && !c.cluster) {
    err << "qlor: --c belongs to --inhibition or --cluster\n";
    return 2;
  }
  if (c.inhibition) {
    o.model = ImportOptions::Model::kInhibition;
    o.radius = *c.inhibition;
  } else if (c.cluster) {
    o.model = ImportOptions::Model::kCluster;
    o.radius = *c.cluster;
    o.n_centers = c.n_centers.value_or(0);
  }
  o.c = c.c.value_or(0);
  for (const std::string& text : c.where) {
    RowFilter filter;
    if (!parse_row_filter(text, filter)) {
      err << "qlor: --where takes COLUMN<VALUE (or <=, >, >=, ==, !=) with "
             "a number, such as 'dbh>=30', not '"
          << text << "'\n";
      return 2;
    }
    o.filters.push_back(filter);
  }
  PhiloxDraws draws(c.seed);
  draws.start_pattern(0);
  if (c.duplicates == "drop") {
    o.duplicates = DuplicateRows::kDrop;
  } else if (c.duplicates.starts_with("jitter:")) {
    o.duplicates = DuplicateRows::kJitter;
    if (!parse_positive_length(c.duplicates.substr(7), o.jitter_radius)) {
      err << "qlor: --duplicates jitter:R takes a positive radius, such as "
             "jitter:0.05\n";
      return 2;
    }
    o.uniform = [&draws] { return draws.uniform(); };
  } else if (c.duplicates != "refuse") {
    err << "qlor: --duplicates takes refuse, drop or jitter:R, not '"
        << c.duplicates << "'\n";
    return 2;
  }
  if (!c.mark_threshold.empty()) {
    const auto colon = c.mark_threshold.rfind(':');
    if (colon == std::string::npos || colon == 0 ||
        !parse_decimal(c.mark_threshold.substr(colon + 1), o.threshold)) {
      err << "qlor: --mark-threshold takes COLUMN:VALUE with a number, such "
             "as dbh:30\n";
      return 2;
    }
    o.threshold_column = c.mark_threshold.substr(0, colon);
  }

  std::string csv;
  if (!read_text(c.file, csv)) {
    err << "qlor: cannot open '" << c.file << "'\n";
    return 1;
  }
  std::string error;
  ImportReport report;
  const auto sample = import_points_csv(csv, o, error, &report);
  if (!sample) {
    err << "qlor: " << path_title(c.file) << ": " << error << '\n';
    return 1;
  }
  // The origin file goes with the sample file: written when the plot has
  // an offset, removed when an import without one writes over the file.
  const std::string origin_path = change_extension(c.output, kOriginExtension);
  std::error_code ec;
  for (const std::string& path : {c.output, origin_path}) {
    if (!c.force && std::filesystem::exists(path, ec)) {
      err << "qlor: '" << path << "' exists; give --force to write over it\n";
      return 1;
    }
  }
  if (auto failed = write_command_file(c.output, *sample); !failed.empty()) {
    err << failed;
    return 1;
  }
  if (!o.origin.zero()) {
    if (auto failed =
            write_command_file(origin_path, origin_file_text(o.origin));
        !failed.empty()) {
      err << failed;
      return 1;
    }
  } else if (std::filesystem::exists(origin_path, ec) &&
             !std::filesystem::remove(origin_path, ec)) {
    err << "qlor: cannot remove '" << origin_path << "': " << ec.message()
        << '\n';
    return 1;
  }
  err << "qlor: wrote '" << c.output << "' with " << report.points << " points";
  if (report.filtered > 0) {
    err << "; " << report.filtered << " rows left out by --where";
  }
  if (report.duplicates > 0) {
    err << "; " << report.duplicates << " duplicated positions dropped";
  }
  if (report.jittered > 0) {
    err << "; " << report.jittered << " duplicated positions moved within "
        << shortest_decimal(o.jitter_radius) << " (seed " << c.seed << ")";
  }
  if (report.on_edge > 0) {
    err << "; " << report.on_edge
        << " points on the plot's upper or right edge moved in by one "
           "coordinate step";
  }
  if (report.other_species > 0) {
    err << "; " << report.other_species << " rows of other species dropped";
  }
  err << '\n';
  if (!o.origin.zero()) {
    err << "qlor: points moved by (" << shortest_decimal(-o.origin.x) << ", "
        << shortest_decimal(-o.origin.y) << ") to the plot's corner; '"
        << origin_path << "' keeps the origin for saved patterns\n";
  }
  err << "qlor: coordinate step " << shortest_decimal(report.step)
      << ": simulated points will lie on this lattice\n";
  if (report.coarse()) {
    err << "qlor: warning: the step " << shortest_decimal(report.step)
        << " is coarse against the points' spacing (about "
        << shortest_decimal(std::round(report.spacing * 100) / 100)
        << " between neighbours at random): simulated points will often "
           "fall on the same lattice positions; give the coordinates with "
           "more decimals\n";
  }
  return 0;
}

void add_import(CLI::App& app, FileCommands& c) {
  CLI::App* sub = app.add_subcommand(
      "import",
      "Turn a CSV table of points (with a header row) into a sample "
      "data file");
  c.import_points = sub;
  sub->add_option("CSV", c.file,
                  "CSV file: comma, semicolon or tab "
                  "separated, quoted fields allowed")
      ->required();
  sub->add_option("--x", c.x_column, "Column of x (name or number)")
      ->required();
  sub->add_option("--y", c.y_column, "Column of y (name or number)")
      ->required();
  auto* species =
      sub->add_option("--species", c.species_column, "Column of the species");
  auto* species1 = sub->add_option("--species1", c.species1_value,
                                   "The value that marks species 1; alone, "
                                   "a univariate file of its rows");
  species->needs(species1);
  species1->needs(species);
  sub->add_option("--species2", c.species2_value,
                  "The value that marks species 2 (bivariate): rows of any "
                  "other value are dropped and counted; '*' makes every "
                  "other value species 2")
      ->needs(species1);
  auto* threshold = sub->add_option(
      "--mark-threshold", c.mark_threshold,
      "Split a numeric mark into two species: rows below VALUE in COLUMN "
      "are species 1, the rest species 2 (bivariate)");
  threshold->option_text("COLUMN:VALUE")->excludes(species);
  sub->add_option("--plot", c.plot_size,
                  "The plot: WIDTHxHEIGHT from 0, or XMIN:XMAX,YMIN:YMAX "
                  "(points move to the corner; the origin is kept in a "
                  ".origin file beside the output). Points on its upper or "
                  "right edge move in by one coordinate step")
      ->required()
      ->option_text("WIDTHxHEIGHT|XMIN:XMAX,YMIN:YMAX REQUIRED");
  sub->add_option("--t", c.distances, "Distances MIN:STEP:MAX")->required();
  sub->add_option("--simulations", c.n_simulations, "Number of simulations")
      ->required()
      ->check(CLI::PositiveNumber);
  auto* inhibition = sub->add_option("--inhibition", c.inhibition,
                                     "Inhibition model with this radius");
  auto* cluster =
      sub->add_option("--cluster", c.cluster, "Cluster model with this radius");
  auto* c_value = sub->add_option(
      "--c", c.c, "Inhibition: c of the model; cluster: its c value");
  auto* centers = sub->add_option("--centers", c.n_centers,
                                  "Cluster model: number of centres");
  inhibition->excludes(cluster);
  inhibition->needs(c_value);
  cluster->needs(c_value);
  cluster->needs(centers);
  centers->needs(cluster);
  sub->add_option("-o,--output", c.output, "Sample data file to write (.dat)")
      ->required();
  sub->add_option("--where", c.where,
                  "Keep only rows whose numeric COLUMN meets the condition "
                  "COLUMN<VALUE, <=, >, >=, == or != (repeatable: all must "
                  "hold), such as 'dbh>=30'")
      ->option_text("'COLUMN>=VALUE'");
  sub->add_option("--duplicates", c.duplicates,
                  "Rows at a position already read: refuse (the default: "
                  "names the first and counts them), drop (keeps the "
                  "first) or jitter:R (moves each later one by a random "
                  "offset within R, rounded to the coordinate step)")
      ->option_text("refuse|drop|jitter:R");
  sub->add_option("--seed", c.seed,
                  "Seed of jitter:R's offsets (default 1: the same file each "
                  "time)");
  sub->add_flag("--force", c.force,
                "Write over the output file when it exists (refused "
                "otherwise)");
}

}  // namespace

std::string write_command_file(const std::string& path,
                               const std::string& text) {
  const Status status = write_whole_file(path, text);
  return status.ok() ? std::string() : "qlor: " + status.text() + "\n";
}

bool parse_plot_extent(const std::string& text, double& width, double& height,
                       PlotOrigin& origin) {
  origin = PlotOrigin{};
  const auto comma = text.find(',');
  if (comma == std::string::npos) return parse_size(text, width, height);
  double* sides[2] = {&width, &height};
  double* corner[2] = {&origin.x, &origin.y};
  int* decimals[2] = {&origin.x_decimals, &origin.y_decimals};
  const std::string ranges[2] = {text.substr(0, comma), text.substr(comma + 1)};
  for (int axis = 0; axis < 2; ++axis) {
    const auto colon = ranges[axis].find(':');
    if (colon == std::string::npos) return false;
    const std::string low = ranges[axis].substr(0, colon);
    const std::string high = ranges[axis].substr(colon + 1);
    double lo = 0;
    double hi = 0;
    if (!parse_decimal(low, lo) || !parse_decimal(high, hi) ||
        !std::isfinite(lo) || !std::isfinite(hi) || !(hi > lo)) {
      return false;
    }
    const int places_low = decimal_places(low);
    const int places_high = decimal_places(high);
    *corner[axis] = lo + 0.0;
    *decimals[axis] = places_low;
    *sides[axis] = decimal_sum(hi, -lo,
                               places_low < 0 || places_high < 0
                                   ? -1
                                   : std::max(places_low, places_high));
  }
  return true;
}

bool parse_size(const std::string& text, double& width, double& height) {
  const auto x = text.find_first_of("xX");
  if (x == std::string::npos) return false;
  return parse_decimal(text.substr(0, x), width) &&
         parse_decimal(text.substr(x + 1), height) && width > 0 && height > 0;
}

void add_file_commands(CLI::App& app, FileCommands& c) {
  c.export_file = app.add_subcommand(
      "export",
      "Write a result file (.ktt) or a test file (.sup, .cvm) as "
      "CSV with a header row");
  c.export_file->add_option("FILE", c.file, "Result or test file")->required();
  c.export_file->add_option("-o,--output", c.output,
                            "CSV file to write (default: standard output)");
  add_import(app, c);
#ifdef QLOR_WITH_PLOT
  c.plot = app.add_subcommand(
      "plot",
      "Draw a result file: the envelope as a grey band and the "
      "observed L(t) - t; the four sectors of a directional run as "
      "one figure");
  c.plot
      ->add_option("FILE", c.file,
                   "Result file (.ktt), a sector's result file, or the "
                   "sample data file")
      ->required();
  c.plot->add_option("-o,--output", c.output,
                     "Image to write, .svg or .png (default: the result "
                     "file's name with .svg)");
  c.plot->add_option("--size", c.image_size,
                     "Image size WIDTHxHEIGHT in pixels (default 800x600, "
                     "1200x900 for four sectors)");
  auto* global =
      c.plot->add_flag("--global", c.global,
                       "Also draw the global envelope (extreme rank length) "
                       "from the run's temporary file, observed values outside "
                       "it in red");
  c.plot
      ->add_option("--alpha", c.alpha,
                   "Level of the global envelope (default 0.05)")
      ->option_text("LEVEL")
      ->needs(global);
#endif
}

std::optional<int> run_file_commands(const FileCommands& c, std::ostream& out,
                                     std::ostream& err) {
  if (*c.export_file) return run_export(c, out, err);
  if (*c.import_points) return run_import(c, err);
#ifdef QLOR_WITH_PLOT
  if (*c.plot) return run_plot(c, err);
#endif
  return std::nullopt;
}

}  // namespace qlor
