// File Close and the scrolling arithmetic of the text view.
#pragma once

#include <cstdint>

#include "analysis/app_context.h"

namespace qlor {

/// File Close: empties the view and the input and temporary paths and
/// forgets the batch selection; `batch_file_name` and `open_cancelled` stay.
void file_close(AppContext& ctx, ViewState& view);

/// Scroll-bar actions of the text view.
enum class ScrollAction {
  kLineUp,
  kLineDown,
  kPageUp,
  kPageDown,
  kThumbPosition,
  kThumbTrack,
  kOther
};

/// Keeps a first line within 0 .. line_count - 1 (0 for an empty view).
[[nodiscard]] std::int32_t clamp_first_line(std::int64_t first_line,
                                            std::int32_t line_count);

/// Moves `first_line` for a scroll-bar action (`thumb` is the thumb position
/// of the two thumb actions) and clamps it. Returns false for an action
/// that changes nothing and needs no repaint.
bool scroll_view(ViewState& view, ScrollAction action, std::int32_t thumb = 0);

}  // namespace qlor
