// Fuzz target: the configuration file reader. Any combination of messages
// is fine; crashes, sanitizer reports and settings that no menu item stands
// for are not.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "analysis/app_context.h"
#include "app/config_file.h"
#include "app/setting_commands.h"

namespace {

class CountingPlatform final : public qlor::Platform {
 public:
  int boxes = 0;
  qlor::Answer message_box(std::string_view, qlor::Buttons,
                           qlor::Icon) override {
    ++boxes;
    return qlor::Answer::kOk;
  }
  std::optional<qlor::ChosenFile> open_file_dialog(std::string_view,
                                                   std::string_view) override {
    return std::nullopt;
  }
  std::unique_ptr<qlor::ProgressDialog> create_progress_dialog(bool) override {
    return nullptr;
  }
  void set_window_title(std::string_view) override {}
  void show_text(const std::vector<std::string>&) override {}
};

void require(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  CountingPlatform platform;
  const qlor::FixedClock clock(0);
  qlor::AppContext ctx(platform, clock);
  qlor::ViewState view;
  std::istringstream in(text);
  qlor::read_config(ctx, view, in);

  // Every setting is one a menu item shows checked.
  using qlor::SettingGroup;
  for (auto group : {SettingGroup::kSignificance, SettingGroup::kDirection,
                     SettingGroup::kRandomize, SettingGroup::kProgress}) {
    require(qlor::checked_command(ctx.settings, group) != 0);
  }
  (void)qlor::show_settings_text(ctx.settings);
  // At most two messages a line, one more for a dropped automatic run.
  std::size_t lines = 0;
  for (char c : text) lines += c == '\n' ? 1 : 0;
  require(static_cast<std::size_t>(platform.boxes) <= 2 * lines + 1);
  // An automatic run is only left pending with a file to run.
  require(ctx.settings.autorun_pending == 0 || !view.input_path.empty());
  if (view.batch_selected == 1) {
    require(view.batch_file_name == view.input_path);
  }
  // Spaces never reach a path.
  require(view.input_path.find(' ') == std::string::npos);
  return 0;
}
