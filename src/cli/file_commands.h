// The console commands that convert files without running an analysis:
// export (result and test files to CSV), import (a CSV table of points to a
// sample data file) and, when built with Qt, plot.
#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "input/plot_origin.h"

namespace qlor {

/// What the file commands were given on the command line.
struct FileCommands {
  CLI::App* export_file = nullptr;
  CLI::App* import_points = nullptr;
  CLI::App* plot = nullptr;  // null without Qt
  std::string file;
  std::string output;
  // import
  std::string x_column;
  std::string y_column;
  std::string species_column;
  std::string species1_value;
  std::string species2_value;
  std::string plot_size;  // WIDTHxHEIGHT or XMIN:XMAX,YMIN:YMAX
  std::string distances;  // MIN:STEP:MAX
  int n_simulations = 0;
  std::optional<double> inhibition;
  std::optional<double> cluster;
  std::optional<double> c;
  std::optional<int> n_centers;
  bool force = false;                 // write over an existing output file
  std::vector<std::string> where;     // COLUMN>=VALUE conditions
  std::string duplicates = "refuse";  // refuse, drop or jitter:R
  std::uint32_t seed = 1;             // of jitter:R
  std::string mark_threshold;         // COLUMN:VALUE
  // plot
  std::string image_size;  // WIDTHxHEIGHT
  bool global = false;     // draw the global envelope too
  double alpha = 0.05;
};

/// Adds the subcommands export, import and (with Qt) plot to `app`.
void add_file_commands(CLI::App& app, FileCommands& c);

/// Runs the file command that was chosen and returns its exit status (0
/// done, 1 failed, 2 usage error), or nothing when none was chosen.
[[nodiscard]] std::optional<int> run_file_commands(const FileCommands& c,
                                                   std::ostream& out,
                                                   std::ostream& err);

/// Writes a command's output file whole: "" or the message line that says
/// why it could not be written.
[[nodiscard]] std::string write_command_file(const std::string& path,
                                             const std::string& text);

/// Parses "WIDTHxHEIGHT" (both positive).
[[nodiscard]] bool parse_size(const std::string& text, double& width,
                              double& height);

/// Parses import's plot: "WIDTHxHEIGHT", or "XMIN:XMAX,YMIN:YMAX" with each
/// maximum above its minimum, which sets the origin (and its decimals) too.
[[nodiscard]] bool parse_plot_extent(const std::string& text, double& width,
                                     double& height, PlotOrigin& origin);

#ifdef QLOR_WITH_PLOT
/// `qlor plot`: draws the figure of a result file (or of the four sector
/// files of a directional run) as SVG or PNG. Defined twice: in this process
/// (plot_command.cpp, for qlor-plot and the tests) or by starting qlor-plot
/// (plot_launch.cpp, for qlor).
[[nodiscard]] int run_plot(const FileCommands& c, std::ostream& err);
#endif

}  // namespace qlor
