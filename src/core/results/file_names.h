// Names of the files derived from a sample data file's path.
#pragma once

#include <string>
#include <string_view>

namespace qlor {

/// Replaces the extension: the path up to the first "." that follows, within
/// its path component, a character other than "." (so "." and ".." and the
/// leading dots of hidden folders never cut), then `extension`. A path
/// without such a dot gets the extension appended.
[[nodiscard]] std::string change_extension(std::string_view path,
                                           std::string_view extension);

/// The characters after the last "/" or "\" of the path (all of it when it
/// has neither).
[[nodiscard]] std::string path_title(std::string_view path);

/// The extension of the path's last component ("." included), in lower
/// case; empty when it has none.
[[nodiscard]] std::string lower_extension(std::string_view path);

/// True when the path ends in ".bat" (lower case only).
[[nodiscard]] bool is_batch_path(std::string_view path);

}  // namespace qlor
