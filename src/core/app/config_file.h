// The configuration file qlor.ini: run settings, an input file and the
// request for an automatic run, read once at start.
#pragma once

#include <istream>
#include <string>

#include "analysis/app_context.h"

namespace qlor {

inline constexpr const char* kConfigFileName = "qlor.ini";
inline constexpr const char* kConfigMissing =
    "File  'QLOR.INI'  not found - using default settings  ";
inline constexpr const char* kConfigUnknown =
    "QLOR.INI :\n\nUnknown parameter in line %d  \n\nDefault value set";
inline constexpr const char* kConfigOutOfRange =
    "QLOR.INI :\n\nValue out of range, line %d  \n\nDefault value set";
inline constexpr const char* kAutorunWithoutInfile =
    "QLOR.INI :\n\nAUTORUN without INFILE ignored  ";

/// Whether a missing configuration file is worth a message: the window
/// says so at start, the console only when asked to be verbose.
enum class MissingConfig { kReport, kQuiet };

/// Reads the configuration file at `path` into the settings, `input_path`,
/// `autorun_pending`, `batch_selected` and `batch_file_name`. A missing or
/// unreadable file leaves the defaults and is reported unless `missing` is
/// kQuiet; a file that is present and wrong is always reported.
void read_config_file(AppContext& ctx, ViewState& view, const std::string& path,
                      MissingConfig missing = MissingConfig::kReport);

/// Reads configuration lines from `in`: spaces are dropped, the first empty
/// line ends the reading, text after the last line feed is ignored. Each
/// faulty line is reported with its number.
void read_config(AppContext& ctx, ViewState& view, std::istream& in);

}  // namespace qlor
