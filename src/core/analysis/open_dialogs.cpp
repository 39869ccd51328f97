// The open dialogs of the runs.
#include "analysis/open_dialogs.h"

#include <fstream>
#include <iterator>

#include "results/file_names.h"

namespace qlor {

namespace {

enum class OpenKind { kAnyFile, kBatchFile };

// The start every open dialog shares: ask for a file into `path`; a cancel
// empties it and marks the view. Returns false on a cancel.
bool choose_file(AppContext& ctx, ViewState& view, const char* title,
                 const char* filter, std::string& path) {
  auto chosen = ctx.platform.open_file_dialog(title, filter);
  if (!chosen) {
    path.clear();
    view.open_cancelled = 1;
    ctx.platform.show_text(view.text_lines);
    return false;
  }
  view.open_cancelled = 0;
  view.text_lines.clear();
  view.first_line = 0;
  path = chosen->path;
  return true;
}

// File Open and the open-batch dialog differ only in their title, filter
// and whether the choice is always the batch file.
void open_into_view(AppContext& ctx, ViewState& view, const char* title,
                    const char* filter, OpenKind kind) {
  if (!choose_file(ctx, view, title, filter, view.input_path)) return;
  std::ifstream in;
  if (can_open_for_reading(view.input_path)) {
    in.open(view.input_path, std::ios::binary);
  }
  if (!in.is_open()) {
    ctx.platform.message_box(kFileOpenError, Buttons::kOk, Icon::kStop);
    view.input_path.clear();
    ctx.platform.show_text(view.text_lines);
    return;
  }
  if (kind == OpenKind::kBatchFile || is_batch_path(view.input_path)) {
    view.batch_file_name = view.input_path;
    view.batch_selected = 1;
  } else {
    view.batch_selected = 0;
  }
  ctx.platform.set_window_title("QLOR - " + path_title(view.input_path));
  view.scroll_bars_shown = true;
  const std::string text((std::istreambuf_iterator<char>(in)),
                         std::istreambuf_iterator<char>());
  view.text_lines = split_view_lines(text);
  view.first_line = 0;
  ctx.platform.show_text(view.text_lines);
}

}  // namespace

void file_open(AppContext& ctx, ViewState& view) {
  open_into_view(ctx, view, kOpenFileTitle, kOpenFileFilter,
                 OpenKind::kAnyFile);
}

void open_batch_file(AppContext& ctx, ViewState& view) {
  open_into_view(ctx, view, kOpenBatchTitle, kOpenBatchFilter,
                 OpenKind::kBatchFile);
}

void open_temp_file(AppContext& ctx, ViewState& view) {
  if (!choose_file(ctx, view, kOpenTempTitle, kOpenTempFilter,
                   view.tmp_file_name)) {
    return;
  }
  if (can_open_for_reading(view.tmp_file_name)) {
    ctx.platform.set_window_title("QLOR - " + path_title(view.tmp_file_name));
  } else {
    ctx.platform.message_box(kFileOpenError, Buttons::kOk, Icon::kStop);
    view.tmp_file_name.clear();
  }
  ctx.platform.show_text(view.text_lines);
}

}  // namespace qlor
