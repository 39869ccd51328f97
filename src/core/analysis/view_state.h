// The view's state between commands: what the text view shows and the files
// the user chose. The view controller owns it; a command gets it by
// reference and leaves in it what the next command sees.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qlor {

struct ViewState {
  /// The sample data file or batch file the next run works on: set by File
  /// Open, the configuration file or the command line, emptied after a run.
  std::string input_path;
  /// The batch file last chosen; names the batch's error file.
  std::string batch_file_name;
  /// The temporary file last chosen for the tests of significance.
  std::string tmp_file_name;

  std::vector<std::string> text_lines;
  std::vector<std::string> batch_entries;
  std::int32_t first_line = 0;
  std::int32_t open_cancelled = 0;
  std::int32_t batch_selected = 0;
  /// Lines that fit in the view's client area, set by the front end when it
  /// lays the view out; page up and down move by one less.
  std::int32_t lines_per_page = 0;
  /// True while the view shows its scroll bars (after an open, until File
  /// Close).
  bool scroll_bars_shown = false;
};

}  // namespace qlor
