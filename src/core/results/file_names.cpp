// File-name helpers.
#include "results/file_names.h"

#include <filesystem>

namespace qlor {

std::string change_extension(std::string_view path,
                             std::string_view extension) {
  // The name: what follows the last separator. Its extension starts at its
  // last dot that follows another character of the name than a dot, so
  // that ".hidden" has none and dots in folders and in the stem stay.
  const std::size_t separator = path.find_last_of("/\\");
  const std::size_t name =
      separator == std::string_view::npos ? 0 : separator + 1;
  std::size_t cut = path.size();
  const std::size_t dot = path.find_last_of('.');
  if (dot != std::string_view::npos && dot > name) {
    const std::string_view before = path.substr(name, dot - name);
    if (before.find_first_not_of('.') != std::string_view::npos) cut = dot;
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
