// File-name helpers.
#include "results/file_names.h"

#include <filesystem>

namespace qlor {

std::string change_extension(std::string_view path,
                             std::string_view extension) {
  bool after_name_char = false;  // within this component, a non-dot seen
  std::size_t cut = path.size();
  for (std::size_t i = 0; i < path.size(); ++i) {
    const char ch = path[i];
    if (ch == '/' || ch == '\\') {
      after_name_char = false;
    } else if (ch == '.') {
      if (after_name_char) {
        cut = i;
        break;
      }
    } else {
      after_name_char = true;
    }
  }
  std::string result(path.substr(0, cut));
  result += extension;
  return result;
}

std::string path_title(std::string_view path) {
  const auto slash = path.find_last_of("/\\");
  return std::string(slash == std::string_view::npos ? path
                                                     : path.substr(slash + 1));
}

std::string lower_extension(std::string_view path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& ch : ext) {
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  }
  return ext;
}

bool is_batch_path(std::string_view path) {
  return path.size() >= 4 && path.substr(path.size() - 4) == ".bat";
}

}  // namespace qlor
