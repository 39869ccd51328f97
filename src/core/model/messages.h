// The messages of file errors that every layer reports.
#pragma once

namespace qlor {

inline constexpr const char* kFileOpenError = "QLOR - File open error!";
/// Followed by the path of the file that could not be written.
inline constexpr const char* kFileWriteError = "QLOR - File write error: ";

}  // namespace qlor
