// Checks on the files a run reads, and the lines of a file as the view
// shows them.
#pragma once

#include <string>
#include <vector>

namespace qlor {

/// True when `path` names a regular file that can be opened for reading;
/// nothing is created. A folder, a device, a pipe or a name holding a NUL
/// byte is no such file.
[[nodiscard]] bool can_open_for_reading(const std::string& path);

/// The lines of a file as the view shows them: each line feed closes a
/// line (a carriage return before it is dropped); text after the last line
/// feed is not shown.
[[nodiscard]] std::vector<std::string> split_view_lines(
    const std::string& text);

}  // namespace qlor
