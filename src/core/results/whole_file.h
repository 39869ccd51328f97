// Files written whole: the text goes to a temporary name in the same
// folder ("plot1.ktt.partial"), is flushed to the disk, and only then takes
// the final name. A file under its final name is therefore always complete,
// and a write that fails leaves the previous file of that name as it was.
#pragma once

#include <string>
#include <string_view>

#include "model/status.h"

namespace qlor {

inline constexpr const char* kPartialSuffix = ".partial";

/// The write-error text for `path` with the system's reason, such as
/// "QLOR - File write error: p.ktt (No space left on device)"; without a
/// reason (error 0) the text names the path only.
[[nodiscard]] std::string write_error(const std::string& path, int error);

/// Writes `text` as the whole file `path`. Returns "" or write_error().
[[nodiscard]] Status write_whole_file(const std::string& path,
                                      std::string_view text);

/// Tests of failing disks: every whole file whose path ends with `ending`
/// fails its writes with `error` (an errno value) from now on; an empty
/// ending ends that.
void inject_write_failure(std::string ending, int error);

/// A whole file written in parts: nothing appears under the final name
/// until commit() succeeds; a writer destroyed before that removes its
/// temporary file.
class WholeFileWriter {
 public:
  WholeFileWriter() = default;
  WholeFileWriter(const WholeFileWriter&) = delete;
  WholeFileWriter& operator=(const WholeFileWriter&) = delete;
  ~WholeFileWriter() { abandon(); }

  /// Creates the temporary file. Returns "" or write_error().
  [[nodiscard]] Status open(const std::string& path);
  [[nodiscard]] bool is_open() const { return fd_ >= 0; }
  /// Appends `text`. Returns "" or write_error().
  [[nodiscard]] Status write(std::string_view text);
  /// Flushes the file to the disk and gives it its final name. Returns ""
  /// or write_error(); the temporary file is gone either way.
  [[nodiscard]] Status commit();
  /// Removes the temporary file, leaving any file of the final name.
  void abandon();

 private:
  [[nodiscard]] Status fail(int error);
  std::string path_;
  std::string partial_;
  int fd_ = -1;
};

}  // namespace qlor
