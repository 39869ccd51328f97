// File Close and the scrolling of the text view.
#include "app/view_scroll.h"

#include "analysis/open_dialogs.h"

namespace qlor {

namespace {

std::int32_t line_count(const ViewState& view) {
  return static_cast<std::int32_t>(view.text_lines.size());
}

}  // namespace

void file_close(AppContext& ctx, ViewState& view) {
  ctx.platform.set_window_title(kRestTitle);
  view.scroll_bars_shown = false;
  view.text_lines.clear();
  view.batch_entries.clear();
  view.input_path.clear();
  view.tmp_file_name.clear();
  view.batch_selected = 0;
  view.first_line = clamp_first_line(view.first_line, 0);
  ctx.platform.show_text(view.text_lines);
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
