// Checks on the files a run reads.
#include "platform/file_access.h"

#include <filesystem>
#include <fstream>

namespace qlor {

bool can_open_for_reading(const std::string& path) {
  // A name with a NUL byte would open a shorter name, and the files written
  // beside it would overwrite that one. Only a regular file can be read
  // twice and comes to an end: no folder, device or pipe.
  std::error_code ec;
  if (path.empty() || path.find('\0') != std::string::npos ||
      !std::filesystem::is_regular_file(path, ec)) {
    return false;
  }
  return std::ifstream(path, std::ios::binary).is_open();
}

std::vector<std::string> split_view_lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\n') continue;
    std::size_t end = i;
    if (end > start && text[end - 1] == '\r') --end;
    lines.emplace_back(text, start, end - start);
    start = i + 1;
  }
  return lines;
}

}  // namespace qlor
