// File Open.
#include "shell/view_commands.h"

#include <fstream>
#include <iterator>

#include "results/file_names.h"

namespace qlor {

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

void file_open(AppContext& ctx) {
  auto chosen = ctx.platform.open_file_dialog(kOpenFileTitle, kOpenFileFilter);
  if (!chosen) {
    ctx.input_path.clear();
    ctx.view.open_cancelled = 1;
    return;
  }
  ctx.view.open_cancelled = 0;
  ctx.view.text_lines.clear();
  ctx.view.first_line = 0;
  ctx.input_path = chosen->path;
  std::ifstream in(ctx.input_path, std::ios::binary);
  if (!in) {
    ctx.platform.message_box(kFileOpenError, Buttons::kOk, Icon::kStop);
    ctx.input_path.clear();
    ctx.platform.show_text(ctx.view.text_lines);
    return;
  }
  const std::string& path = ctx.input_path;
  if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".bat") == 0) {
    ctx.batch_file_name = path;
    ctx.view.batch_selected = 1;
  } else {
    ctx.view.batch_selected = 0;
  }
  ctx.platform.set_window_title("QLOR - " + path_title(path));
  const std::string text((std::istreambuf_iterator<char>(in)),
                         std::istreambuf_iterator<char>());
  ctx.view.text_lines = split_view_lines(text);
  ctx.platform.show_text(ctx.view.text_lines);
}

}  // namespace qlor
