// Result and test files as CSV with a header row.
#pragma once

#include <optional>
#include <string>

namespace qlor {

/// Converts the text of a result file (t upper lower observed) into CSV
/// "t,upper,lower,observed". Numbers are copied as written. Nothing when a
/// line does not have four numbers; `error` names the line.
[[nodiscard]] std::optional<std::string> result_file_to_csv(
    const std::string& text, std::string& error);

/// Converts the text of a ".sup" or ".cvm" file into CSV
/// "rank,statistic,observed" (observed 1 on the marked line, else 0).
[[nodiscard]] std::optional<std::string> test_file_to_csv(
    const std::string& text, std::string& error);

}  // namespace qlor
