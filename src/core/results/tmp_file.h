// The temporary file: the L values of every pattern of a run, block by
// block, read back by the result writers and the tests of significance.
#pragma once

#include <array>
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "model/analysis_state.h"
#include "model/messages.h"

namespace qlor {

inline constexpr const char* kTmpIncomplete =
    "QLOR - Temporary file incomplete or unreadable !";

/// Writes the blocks of a run to its temporary file(s).
class TmpFileWriter {
 public:
  /// Creates or truncates the file(s), or with `append` goes on at their
  /// end. Returns "" or the write-error text.
  [[nodiscard]] Status open(const std::vector<std::string>& paths,
                            bool append = false);
  /// Appends one block per file: values[k] goes to file k.
  [[nodiscard]] Status write_block(
      const AnalysisState& state,
      const std::vector<const std::vector<double>*>& values);
  /// Closes every file. Returns "" or the write-error text.
  [[nodiscard]] Status close();

 private:
  std::vector<std::string> paths_;
  std::vector<std::ofstream> files_;
  std::string line_;
};

/// How much of a temporary file is whole patterns, as a resumed run finds
/// it.
struct TmpFileScan {
  std::int64_t patterns = 0;  // whole blocks from the start
  std::uint64_t bytes = 0;    // their length
  bool torn = false;          // more follows: the start of a block, cut off
};

/// Reads the temporary file at `path` of a run of `state`: each block has
/// one line "t value" (CR LF) per distance, t as the run writes it. What
/// follows the whole blocks may only be the start of one (a write cut off
/// by a kill). With `limit` >= 0 the scan stops after that many blocks.
/// Returns "" or the message naming the file and the line.
[[nodiscard]] Status scan_tmp_file(const std::string& path,
                                   const AnalysisState& state,
                                   TmpFileScan& scan, std::int64_t limit = -1);

/// Reads the values of a temporary file (each line: t and a value; t is
/// ignored) as whitespace-separated decimal numbers, without any locale.
class TmpFileReader {
 public:
  /// Opens the file; false when it cannot be opened.
  [[nodiscard]] bool open(const std::string& path);
  /// Reads the next `values.size()` values; false when the file ends or
  /// holds something that is not a number first.
  [[nodiscard]] bool read_block(std::vector<double>& values);
  /// True when nothing but white space is left.
  [[nodiscard]] bool at_end();

 private:
  [[nodiscard]] bool next_token(std::string& token);
  [[nodiscard]] bool next_number(double& v);
  [[nodiscard]] bool fill();
  std::ifstream in_;
  std::vector<char> buffer_ = std::vector<char>(1 << 16);
  std::size_t pos_ = 0;
  std::size_t len_ = 0;
  std::string token_;
};

}  // namespace qlor
