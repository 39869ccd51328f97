// The settings commands of the menus: each setting is chosen by the command
// number of its menu item, which also decides the item's check mark.
#pragma once

#include <optional>
#include <string>

#include "app/commands.h"
#include "model/settings.h"

namespace qlor {

/// The menu groups whose items set one run setting each.
enum class SettingGroup {
  kSignificance,
  kDirection,
  kRandomize,
  kProgress,
  kFunction,
  kNull,
  kPairs,
};

/// Thresholds of the Progress Ctrl Bar choices, in i-j calculations.
inline constexpr double kProgressThresholds[] = {0, 1000000, 10000000,
                                                 100000000, 2000000000};

/// The first command number of each group.
[[nodiscard]] int first_command(SettingGroup group);

/// The group a settings command belongs to; nothing for other commands.
[[nodiscard]] std::optional<SettingGroup> setting_group(int command);

/// Sets the group's setting to the choice that the configuration file and
/// the command line number `index` (significance and direction 0 to 3,
/// randomize 1 and 2, progress 0 to 4, function 0 L, 1 g, 2 O, null model 0
/// header, 1 labels, 2 shift, pairs 0 across, 1 within species 1, 2 within
/// species 2). Returns false
/// (and changes nothing) for a number out of range.
bool set_setting(RunSettings& settings, SettingGroup group, int index);

/// Applies a settings command to the run settings, as the menu item does.
/// Returns false (and changes nothing) for any other command.
bool apply_setting_command(RunSettings& settings, int command);

/// The command of the group's item that shows the check mark; 0 when the
/// setting holds a value no item stands for.
[[nodiscard]] int checked_command(const RunSettings& settings,
                                  SettingGroup group);

/// True when the menu shows `command` with a check mark.
[[nodiscard]] bool is_checked(const RunSettings& settings, int command);

/// Sets the kernel's half-width for g and O from its text: a positive
/// number, or an empty text for Stoyan's rule. False (and nothing changed)
/// for any other text.
bool set_bandwidth(RunSettings& settings, const std::string& text);

/// The run's function as Show settings lists it: "L(t) - t", "g(t),
/// kernel, bandwidth 0.5", "O(t), rings".
[[nodiscard]] std::string function_text(const RunSettings& settings);

/// The text of View > Show settings (the progress setting is not part of
/// it). The degree sign is UTF-8.
[[nodiscard]] std::string show_settings_text(const RunSettings& settings);

}  // namespace qlor
