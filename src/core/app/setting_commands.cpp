// Settings commands: the index form that the runs read is derived from the
// command number and back, so the two never disagree.
#include "app/setting_commands.h"

#include <cstddef>
#include <iterator>

namespace qlor {

namespace {

struct GroupRange {
  SettingGroup group;
  int first;
  int last;
};

constexpr GroupRange kGroups[] = {
    {SettingGroup::kSignificance, kCmdSignificanceNone, kCmdSignificanceBoth},
    {SettingGroup::kDirection, kCmdDirectionNone, kCmdDirectionHalfPlanes},
    {SettingGroup::kRandomize, kCmdRandomizeSpecies2, kCmdRandomizeBoth},
    {SettingGroup::kProgress, kCmdProgressAlways, kCmdProgressNever},
};

// The index form of the group's current value, counted from its first item.
int current_offset(const RunSettings& settings, SettingGroup group) {
  switch (group) {
    case SettingGroup::kSignificance:
      return settings.significance_index;
    case SettingGroup::kDirection:
      return settings.direction_index;
    case SettingGroup::kRandomize:
      return settings.randomize_mode - 1;
    case SettingGroup::kProgress:
      for (std::size_t k = 0; k < std::size(kProgressThresholds); ++k) {
        if (settings.progress_threshold == kProgressThresholds[k]) {
          return static_cast<int>(k);
        }
      }
      return -1;
  }
  return -1;
}

const char* pick(const char* const* names, int count, int index) {
  return index >= 0 && index < count ? names[index] : "";
}

}  // namespace

int first_command(SettingGroup group) {
  for (const auto& g : kGroups) {
    if (g.group == group) return g.first;
  }
  return 0;
}

std::optional<SettingGroup> setting_group(int command) {
  for (const auto& g : kGroups) {
    if (command >= g.first && command <= g.last) return g.group;
  }
  return std::nullopt;
}

bool apply_setting_command(RunSettings& settings, int command) {
  const auto group = setting_group(command);
  if (!group) return false;
  const int offset = command - first_command(*group);
  switch (*group) {
    case SettingGroup::kSignificance:
      settings.significance_index = offset;
      break;
    case SettingGroup::kDirection:
      set_direction(settings, offset);
      break;
    case SettingGroup::kRandomize:
      settings.randomize_mode = offset + 1;
      break;
    case SettingGroup::kProgress:
      settings.progress_threshold =
          kProgressThresholds[static_cast<std::size_t>(offset)];
      break;
  }
  return true;
}

int checked_command(const RunSettings& settings, SettingGroup group) {
  const int offset = current_offset(settings, group);
  for (const auto& g : kGroups) {
    if (g.group == group && offset >= 0 && offset <= g.last - g.first) {
      return g.first + offset;
    }
  }
  return 0;
}

bool is_checked(const RunSettings& settings, int command) {
  const auto group = setting_group(command);
  return group && checked_command(settings, *group) == command;
}

std::string show_settings_text(const RunSettings& settings) {
  static const char* const kTests[] = {"None", "Ripley's supremum  ",
                                       "Cramer-von Mises  ", "Both tests  "};
  static const char* const kDirections[] = {
      "None", "90\xC2\xB0 Sectors - W,N,E,S",
      "90\xC2\xB0 Sectors - SW,NW,NE,SE", "180\xC2\xB0 Sectors - N-S,W-E"};
  static const char* const kRandomize[] = {"Species 2  ", "Both species  "};
  std::string text = "CURRENT  SETTINGS  FOR  ALL  FILES\t\n";
  text += "\n\nTest of Significance :\t";
  text += pick(kTests, 4, settings.significance_index);
  text += "\n\nDirection analysed :\t\t";
  text += pick(kDirections, 4, settings.direction_index);
  text += "\n\nRandomize :\t\t";
  text += pick(kRandomize, 2, settings.randomize_mode - 1);
  return text;
}

}  // namespace qlor
