// Command dispatch of the view.
#include "app/view_controller.h"

#include <cstdio>
#include <optional>
#include <utility>

#include "analysis/single_run.h"
#include "app/menu_definition.h"
#include "app/setting_commands.h"
#include "batch/auto_batch.h"
#include "batch/batch_precheck.h"
#include "batch/batch_run.h"
#include "batch/significance_only.h"
#include "results/file_names.h"

namespace qlor {

ViewController::ViewController(Platform& platform, const Clock& clock,
                               const std::string& config_path,
                               MissingConfig missing)
    : ctx_(platform, clock) {
  read_config_file(ctx_, view_, config_path, missing);
}

void ViewController::choose_file(const std::string& path) {
  view_.input_path = path;
  view_.batch_selected = is_batch_path(path) ? 1 : 0;
  if (view_.batch_selected == 1) view_.batch_file_name = path;
}

std::vector<TestOutcome> ViewController::take_test_outcomes() {
  return std::exchange(test_outcomes_, {});
}

std::vector<SeededFile> ViewController::take_run_seeds() {
  return std::exchange(run_seeds_, {});
}

bool ViewController::finish(RunOutcome outcome) {
  for (TestOutcome& test : outcome.tests) {
    test_outcomes_.push_back(std::move(test));
  }
  for (SeededFile& seeded : outcome.seeds) {
    run_seeds_.push_back(std::move(seeded));
  }
  return outcome.complete;
}

bool ViewController::handles(int command) {
  switch (command) {
    case kCmdFileOpen:
    case kCmdFileClose:
    case kCmdSingleFile:
    case kCmdBatchPrecheck:
    case kCmdBatchCheckAnalyse:
    case kCmdBatchAutoAnalyse:
    case kCmdSignificanceOnly:
    case kCmdShowSettings:
    case kCmdBandwidth:
      return true;
    default:
      return setting_group(command).has_value();
  }
}

bool ViewController::on_command(int command) {
  switch (command) {
    case kCmdFileOpen:
      file_open(ctx_, view_);
      return view_.open_cancelled == 0 && !view_.input_path.empty();
    case kCmdFileClose:
      file_close(ctx_, view_);
      return true;
    case kCmdSingleFile:
      return finish(run_single_file(ctx_, view_));
    case kCmdBatchPrecheck:
      return batch_precheck(ctx_, view_);
    case kCmdBatchCheckAnalyse:
      return finish(batch_check_and_analyse(ctx_, view_));
    case kCmdBatchAutoAnalyse:
      return finish(batch_auto_analyse(ctx_, view_));
    case kCmdSignificanceOnly:
      return finish(significance_only(ctx_, view_));
    case kCmdShowSettings:
      ctx_.platform.message_box(show_settings_text(ctx_.settings), Buttons::kOk,
                                Icon::kNone);
      return true;
    case kCmdBandwidth:
      return ask_bandwidth();
    case kCmdIntensity:
      return ask_intensity();
    default:
      break;
  }
  if (!apply_setting_command(ctx_.settings, command)) return false;
  ctx_.platform.show_text(view_.text_lines);
  return true;
}

bool ViewController::ask_bandwidth() {
  std::string current;
  if (ctx_.settings.bandwidth > 0) {
    char text[64];
    std::snprintf(text, sizeof text, "%.15g", ctx_.settings.bandwidth);
    current = text;
  }
  const std::optional<std::string> answer = ctx_.platform.ask_text(
      "Bandwidth",
      "Half-width of the kernel of g(t) and O(t), in plot units\n"
      "(empty: 0.15 / sqrt(points per unit area))",
      current);
  if (!answer) return false;
  if (!set_bandwidth(ctx_.settings, *answer)) {
    ctx_.platform.message_box(kBandwidthRefused, Buttons::kOk, Icon::kStop);
    return false;
  }
  return true;
}

bool ViewController::ask_intensity() {
  const std::optional<std::string> answer = ctx_.platform.ask_text(
      "Intensity",
      "Inhomogeneous L and g against a heterogeneous Poisson null model:\n"
      "kernel (sigma one eighth of the shorter side), kernel:SIGMA,\n"
      "the path of a grid file (CSV x,y,intensity), or none",
      intensity_setting_text(ctx_.settings.intensity));
  if (!answer) return false;
  if (!parse_intensity_setting(*answer, ctx_.settings.intensity).ok()) {
    ctx_.platform.message_box(kIntensityRefused, Buttons::kOk, Icon::kStop);
    return false;
  }
  return true;
}

bool ViewController::is_checked(int command) const {
  return qlor::is_checked(ctx_.settings, command);
}

bool ViewController::has_pending_autorun() const {
  return ctx_.settings.autorun_pending == 1 && !view_.input_path.empty();
}

bool ViewController::run_pending_autorun() {
  if (!has_pending_autorun()) return false;
  ctx_.platform.set_window_title(kTitlePrefix + view_.input_path);
  const bool ok =
      finish(view_.batch_selected == 1 ? batch_auto_analyse(ctx_, view_)
                                       : run_single_file_auto(ctx_, view_));
  ctx_.settings.autorun_pending = 0;
  ctx_.platform.set_window_title(kRestTitle);
  return ok;
}

std::vector<std::string_view> ViewController::layout(int client_height,
                                                     int line_height) {
  view_.lines_per_page = line_height > 0 ? client_height / line_height : 0;
  std::vector<std::string_view> rows;
  const auto& lines = view_.text_lines;
  // Rows are drawn while they start inside the client area.
  for (int y = 0;
       line_height > 0 && y < client_height && rows.size() < lines.size();
       y += line_height) {
    const std::size_t index =
        static_cast<std::size_t>(view_.first_line) + rows.size();
    if (index >= lines.size()) break;
    rows.emplace_back(lines[index]);
  }
  return rows;
}

bool ViewController::on_vscroll(ScrollAction action, std::int32_t thumb) {
  return scroll_view(view_, action, thumb);
}

}  // namespace qlor
