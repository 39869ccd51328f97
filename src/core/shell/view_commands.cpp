// The file dialogs of the view and its scrolling.
#include "shell/view_commands.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "results/file_names.h"

namespace qlor {

namespace {

enum class OpenKind { kAnyFile, kBatchFile };

std::int32_t line_count(const ViewState& view) {
  return static_cast<std::int32_t>(view.text_lines.size());
}

// The start every open dialog shares: ask for a file into `path`; a cancel
// empties it and marks the view. Returns false on a cancel.
bool choose_file(AppContext& ctx, const char* title, const char* filter,
                 std::string& path) {
  auto chosen = ctx.platform.open_file_dialog(title, filter);
  if (!chosen) {
    path.clear();
    ctx.view.open_cancelled = 1;
    ctx.platform.show_text(ctx.view.text_lines);
    return false;
  }
  ctx.view.open_cancelled = 0;
  ctx.view.text_lines.clear();
  ctx.view.first_line = 0;
  path = chosen->path;
  return true;
}

// File Open and the open-batch dialog differ only in their title, filter
// and whether the choice is always the batch file.
void open_into_view(AppContext& ctx, const char* title, const char* filter,
                    OpenKind kind) {
  if (!choose_file(ctx, title, filter, ctx.input_path)) return;
  std::ifstream in;
  if (can_open_for_reading(ctx.input_path)) {
    in.open(ctx.input_path, std::ios::binary);
  }
  if (!in.is_open()) {
    ctx.platform.message_box(kFileOpenError, Buttons::kOk, Icon::kStop);
    ctx.input_path.clear();
    ctx.platform.show_text(ctx.view.text_lines);
    return;
  }
  if (kind == OpenKind::kBatchFile || is_batch_path(ctx.input_path)) {
    ctx.batch_file_name = ctx.input_path;
    ctx.view.batch_selected = 1;
  } else {
    ctx.view.batch_selected = 0;
  }
  ctx.platform.set_window_title("QLOR - " + path_title(ctx.input_path));
  ctx.view.scroll_bars_shown = true;
  const std::string text((std::istreambuf_iterator<char>(in)),
                         std::istreambuf_iterator<char>());
  ctx.view.text_lines = split_view_lines(text);
  ctx.view.first_line = 0;
  ctx.platform.show_text(ctx.view.text_lines);
}

}  // namespace

bool is_batch_path(std::string_view path) {
  return path.size() >= 4 && path.substr(path.size() - 4) == ".bat";
}

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

void file_open(AppContext& ctx) {
  open_into_view(ctx, kOpenFileTitle, kOpenFileFilter, OpenKind::kAnyFile);
}

void open_batch_file(AppContext& ctx) {
  open_into_view(ctx, kOpenBatchTitle, kOpenBatchFilter, OpenKind::kBatchFile);
}

void open_temp_file(AppContext& ctx) {
  if (!choose_file(ctx, kOpenTempTitle, kOpenTempFilter, ctx.tmp_file_name)) {
    return;
  }
  if (can_open_for_reading(ctx.tmp_file_name)) {
    ctx.platform.set_window_title("QLOR - " + path_title(ctx.tmp_file_name));
  } else {
    ctx.platform.message_box(kFileOpenError, Buttons::kOk, Icon::kStop);
    ctx.tmp_file_name.clear();
  }
  ctx.platform.show_text(ctx.view.text_lines);
}

void file_close(AppContext& ctx) {
  ctx.platform.set_window_title(kRestTitle);
  ctx.view.scroll_bars_shown = false;
  ctx.view.text_lines.clear();
  ctx.view.batch_entries.clear();
  ctx.input_path.clear();
  ctx.tmp_file_name.clear();
  ctx.view.batch_selected = 0;
  ctx.view.first_line = clamp_first_line(ctx.view.first_line, 0);
  ctx.platform.show_text(ctx.view.text_lines);
}

std::int32_t clamp_first_line(std::int64_t first_line,
                              std::int32_t line_count) {
  // An empty view keeps line 0 rather than the index -1.
  if (first_line > line_count - 1) first_line = line_count - 1;
  if (first_line < 0) first_line = 0;
  return static_cast<std::int32_t>(first_line);
}

bool scroll_view(ViewState& view, ScrollAction action, std::int32_t thumb) {
  std::int64_t first = view.first_line;
  const std::int64_t page_step = std::int64_t{view.lines_per_page} - 1;
  switch (action) {
    case ScrollAction::kLineUp:
      --first;
      break;
    case ScrollAction::kLineDown:
      ++first;
      break;
    case ScrollAction::kPageUp:
      first -= page_step;
      break;
    case ScrollAction::kPageDown:
      first += page_step;
      break;
    case ScrollAction::kThumbPosition:
    case ScrollAction::kThumbTrack:
      first = thumb;
      break;
    case ScrollAction::kOther:
      return false;
  }
  view.first_line = clamp_first_line(first, line_count(view));
  return true;
}

}  // namespace qlor
