// The File Open command and the title texts of the main window.
#pragma once

#include "shell/app_context.h"

namespace qlor {

inline constexpr const char* kRestTitle = "QLOR - Qlorfield";
inline constexpr const char* kFileOpenError = "QLOR - File open error!";
inline constexpr const char* kOpenFileTitle = "QLOR - open file ...";
inline constexpr const char* kOpenFileFilter =
    "Data files (*.DAT)|*.dat| Batch files (*.BAT)|*.bat| Temporary files "
    "(*.TMP)|*.tmp| Output files (*.KTT)|*.ktt| Error files (*.ERR)|*.err| "
    "All files (*.*) |*.*||";

/// File Open: asks for a file, shows its lines in the view and sets
/// `input_path`, `open_cancelled` and `batch_selected`.
void file_open(AppContext& ctx);

/// The lines of a file as the view shows them: each line feed closes a
/// line (a carriage return before it is dropped); text after the last line
/// feed is not shown.
[[nodiscard]] std::vector<std::string> split_view_lines(const std::string& text);

}  // namespace qlor
