// Turns a table of points (CSV with a header row) into a sample data file.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "input/plot_origin.h"
#include "model/decimal.h"

namespace qlor {

/// A condition on a numeric column that a row must meet to be imported:
/// COLUMN<VALUE, <=, >, >=, == or !=.
struct RowFilter {
  std::string column;
  enum class Op {
    kLess,
    kLessEqual,
    kGreater,
    kGreaterEqual,
    kEqual,
    kNotEqual
  };
  Op op = Op::kGreaterEqual;
  double value = 0;
};

/// Reads "COLUMN>=VALUE" (no blanks needed; the column holds no comparison
/// sign). False for any other text.
[[nodiscard]] bool parse_row_filter(const std::string& text, RowFilter& filter);

/// What becomes of a row at the position of a row already imported.
enum class DuplicateRows {
  kRefuse,  // stop, naming the first such row and how many there are
  kDrop,    // keep the first, drop the rest, and count them
  kJitter,  // move each later one by a random offset within a radius
};

/// The value of --species2 that makes every value other than species 1's
/// species 2.
inline constexpr const char* kEveryOtherSpecies = "*";

/// What an import left out, for its report.
struct ImportReport {
  int points = 0;
  int filtered = 0;       // rows that failed a --where condition
  int duplicates = 0;     // rows dropped at an imported position
  int other_species = 0;  // rows of neither species value
  int jittered = 0;       // duplicates moved to a free position
  int on_edge = 0;        // points on the upper or right edge, moved in
  /// The coordinates' step (the coarsest decimal step that holds every x),
  /// on which simulated points will lie, and the expected distance to the
  /// nearest neighbour of as many points at random, 0.5 sqrt(A / n).
  double step = 0;
  double spacing = 0;
  /// The step is coarser than a tenth of that spacing: simulated points
  /// would often share lattice positions.
  [[nodiscard]] bool coarse() const { return step > 0.1 * spacing; }
};

/// What the sample data file's header says besides the points.
struct ImportOptions {
  std::string x_column;
  std::string y_column;
  /// The species column. Empty: a univariate file of every row.
  std::string species_column;
  std::string species1_value;  // the value that marks species 1 (label 0)
  /// The value that marks species 2; rows of any other value are dropped
  /// and counted. kEveryOtherSpecies: every other value is species 2.
  /// Empty: a univariate file of species 1's rows.
  std::string species2_value;
  /// A numeric mark split into two species: rows below `threshold` in
  /// this column are species 1, the rest species 2 (empty: none).
  std::string threshold_column;
  double threshold = 0;
  /// The plot: [origin.x, origin.x + x_axis] x [origin.y, origin.y +
  /// y_axis] in the table's coordinates. Points move by -origin to the
  /// sample file's plot; one on the upper or right edge moves in by one
  /// coordinate step, as the sample file's plot leaves that edge out.
  PlotOrigin origin;
  double x_axis = 0;
  double y_axis = 0;
  double t_min = 0;
  double t_interval = 0;
  double t_max = 0;
  int n_simulations = 0;
  // Null model: none (CSR), inhibition (radius, c) or cluster (radius, c,
  // centres).
  enum class Model { kCsr, kInhibition, kCluster } model = Model::kCsr;
  double radius = 0;
  double c = 0;
  int n_centers = 0;
  /// Rows must meet every one of these.
  std::vector<RowFilter> filters;
  DuplicateRows duplicates = DuplicateRows::kRefuse;
  /// kJitter: the radius within which a duplicate moves (uniformly over
  /// the disc, rounded to the coordinate step, to a free position in the
  /// plot), and the uniform draws in [0, 1) that move it.
  double jitter_radius = 0;
  std::function<double()> uniform;
};

/// Splits one CSV record into fields (quotes may hold separators and
/// doubled quotes).
[[nodiscard]] std::vector<std::string> split_csv_record(const std::string& line,
                                                        char separator);

/// Picks the separator of a header row: tab, semicolon or comma.
[[nodiscard]] char detect_separator(const std::string& header);

/// Converts CSV text into the text of a sample data file. Returns the file
/// text, or nothing with `error` set to a message naming the row (and the
/// column, where one is at fault). `report` gets what was left out.
[[nodiscard]] std::optional<std::string> import_points_csv(
    const std::string& csv, const ImportOptions& options, std::string& error,
    ImportReport* report = nullptr);

}  // namespace qlor
