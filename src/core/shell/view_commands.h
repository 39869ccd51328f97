// The view's file commands (File Open, the open-batch and open-temp
// dialogs, File Close), the window titles and the scrolling arithmetic.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "shell/app_context.h"

namespace qlor {

inline constexpr const char* kRestTitle = "QLOR - Qlorfield";
inline constexpr const char* kFileOpenError = "QLOR - File open error!";
inline constexpr const char* kOpenFileTitle = "QLOR - open file ...";
inline constexpr const char* kOpenFileFilter =
    "Data files (*.DAT)|*.dat| Batch files (*.BAT)|*.bat| Temporary files "
    "(*.TMP)|*.tmp| Output files (*.KTT)|*.ktt| Error files (*.ERR)|*.err| "
    "All files (*.*) |*.*||";
inline constexpr const char* kOpenBatchTitle = "QLOR - open batch file ...";
inline constexpr const char* kOpenBatchFilter =
    "Batch files (*.BAT)|*.bat| All files (*.*) |*.*||";
inline constexpr const char* kOpenTempTitle = "QLOR - open temp file ...";
inline constexpr const char* kOpenTempFilter =
    "Temporary files (*.TMP)|*.tmp| All files (*.*) |*.*||";

/// File Open: asks for a file, shows its lines in the view and sets
/// `input_path`, `open_cancelled` and `batch_selected` (1 for a name ending
/// in ".bat", which also becomes `batch_file_name`).
void file_open(AppContext& ctx);

/// The open-batch-file dialog of the batch commands: as File Open, but the
/// chosen file is the batch file whatever its name.
void open_batch_file(AppContext& ctx);

/// The open-temp-file dialog of the significance-only run: sets
/// `tmp_file_name` and `open_cancelled`, empties the view and tests that the
/// file can be opened ("QLOR - File open error!" and an empty
/// `tmp_file_name` when not).
void open_temp_file(AppContext& ctx);

/// File Close: empties the view and the input and temporary paths and
/// forgets the batch selection; `batch_file_name` and `open_cancelled` stay.
void file_close(AppContext& ctx);

/// True when the path ends in ".bat" (lower case only).
[[nodiscard]] bool is_batch_path(std::string_view path);

/// True when `path` names a regular file that can be opened for reading;
/// nothing is created. A folder, a device, a pipe or a name holding a NUL
/// byte is no such file.
[[nodiscard]] bool can_open_for_reading(const std::string& path);

/// The lines of a file as the view shows them: each line feed closes a
/// line (a carriage return before it is dropped); text after the last line
/// feed is not shown.
[[nodiscard]] std::vector<std::string> split_view_lines(
    const std::string& text);

/// Scroll-bar actions of the text view.
enum class ScrollAction {
  kLineUp,
  kLineDown,
  kPageUp,
  kPageDown,
  kThumbPosition,
  kThumbTrack,
  kOther
};

/// Keeps a first line within 0 .. line_count - 1 (0 for an empty view).
[[nodiscard]] std::int32_t clamp_first_line(std::int64_t first_line,
                                            std::int32_t line_count);

/// Moves `first_line` for a scroll-bar action (`thumb` is the thumb position
/// of the two thumb actions) and clamps it. Returns false for an action
/// that changes nothing and needs no repaint.
bool scroll_view(ViewState& view, ScrollAction action, std::int32_t thumb = 0);

}  // namespace qlor
