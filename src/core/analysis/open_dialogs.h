// The open dialogs of the runs (File Open, the open-batch and open-temp
// dialogs) and the window titles.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/app_context.h"
#include "model/messages.h"
#include "platform/file_access.h"

namespace qlor {

inline constexpr const char* kRestTitle = "QLOR - Qlorfield";
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
void file_open(AppContext& ctx, ViewState& view);

/// The open-batch-file dialog of the batch commands: as File Open, but the
/// chosen file is the batch file whatever its name.
void open_batch_file(AppContext& ctx, ViewState& view);

/// The open-temp-file dialog of the significance-only run: sets
/// `tmp_file_name` and `open_cancelled`, empties the view and tests that the
/// file can be opened ("QLOR - File open error!" and an empty
/// `tmp_file_name` when not).
void open_temp_file(AppContext& ctx, ViewState& view);

}  // namespace qlor
