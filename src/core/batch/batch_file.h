// What the batch commands share: the batch file, its entries, the per-entry
// check, the error file and the boxes of failed entries.
#pragma once

#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/app_context.h"
#include "model/analysis_state.h"
#include "model/progress_counters.h"

namespace qlor {

inline constexpr const char* kBatchDirection =
    "Analysis considering cardinal direction not implemented in Batch File "
    "mode  \n\n- Set  'Direction'  to  'None'  to process a batch file or "
    "select Single File mode !  ";
inline constexpr const char* kSelectSingleFile =
    "Select \"SingleFile\" to analyse this file !  ";
inline constexpr const char* kEntryNotFound = "File not found";
inline constexpr const char* kEntryNotFoundInteractive = " - File not found!";

/// Reads the entries of a batch file: every line ended by a line feed is
/// one path, spaces and blank lines included (a carriage return before the
/// line feed is dropped); a last line without line feed is not read.
/// Returns false when the file cannot be opened; nothing is created.
[[nodiscard]] bool read_batch_entries(const std::string& path,
                                      std::vector<std::string>& entries);

/// Gets the batch file of a batch command: asks for it when no input is
/// chosen, refuses a sample data file, and reads the entries into
/// `batch_entries`, leaving `input_path` empty. `quiet` (the automatic run)
/// shows nothing. Returns false when the command ends here.
[[nodiscard]] bool obtain_batch_entries(AppContext& ctx, ViewState& view,
                                        bool quiet);

/// Checks the entry `input_path` without analysing it: it must open, its
/// header, header values and records must pass. On success the file's work
/// is added to `counters.pairs_total_batch`. Returns ok or the first failure
/// ("File not found" when it cannot be opened).
[[nodiscard]] Status check_batch_entry(const AppContext& ctx,
                                       const std::string& input_path,
                                       AnalysisState& state,
                                       ProgressCounters& counters);

/// The box of a failed entry: "FILE :\t" title "  \n\nERROR :\t" message;
/// an allocation tag (AllocationCause::kSimulations) shows as the cause line of
/// the memory-failure report.
[[nodiscard]] std::string entry_error_text(std::string_view file_title,
                                           const Status& status);

/// The error file of a batch run: created (or truncated) when its first
/// line is written, so a run without failures leaves an earlier file as it
/// was. Lines end in CR LF.
class ErrorFile {
 public:
  explicit ErrorFile(std::string path) : path_(std::move(path)) {}
  /// Writes title, separator and message as one line.
  void write_line(std::string_view file_title, std::string_view separator,
                  std::string_view message);
  [[nodiscard]] int line_count() const { return line_count_; }
  [[nodiscard]] const std::string& path() const { return path_; }
  /// True when a line could not be written (a full disk, a folder of that
  /// name): the failures it should hold are lost.
  [[nodiscard]] bool failed() const { return failed_; }
  void close() {
    if (!out_.is_open()) return;
    out_.close();
    if (!out_) failed_ = true;
  }

 private:
  std::string path_;
  std::ofstream out_;
  int line_count_ = 0;
  bool failed_ = false;
};

/// The separator of an error-file line; the line written after the last
/// entry has the short one.
inline constexpr const char* kErrSeparator = "  -  ";
inline constexpr const char* kErrSeparatorLast = " - ";

}  // namespace qlor
