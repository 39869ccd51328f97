// Names of the files derived from a sample data file's path.
#pragma once

#include <string>
#include <string_view>

namespace qlor {

/// Replaces the file name's last extension: the path up to the name's last
/// "." that follows a character of the name other than "." (so folders,
/// dots within the stem and the leading dots of hidden names never cut),
/// then `extension`; a name without one gets the extension appended.
/// a.b/plot.v2.dat with ".ktt" gives a.b/plot.v2.ktt.
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
