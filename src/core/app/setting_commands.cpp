// Settings commands: the index form that the runs read is derived from the
// command number and back, so the two never disagree.
#include "app/setting_commands.h"

#include <cstddef>
#include <cstdio>
#include <iterator>

#include "model/decimal.h"
#include "statistics/summary_function.h"

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
    {SettingGroup::kFunction, kCmdFunctionL, kCmdFunctionO},
    {SettingGroup::kNull, kCmdNullHeader, kCmdNullShift},
    {SettingGroup::kPairs, kCmdPairsCross, kCmdPairs22},
};

// The index form of the group's current value, counted from its first item.
int current_offset(const RunSettings& settings, SettingGroup group) {
  switch (group) {
    case SettingGroup::kSignificance:
      return index_of(settings.significance_index);
    case SettingGroup::kDirection:
      return index_of(settings.direction_index);
    case SettingGroup::kRandomize:
      return index_of(settings.randomize_mode) - 1;
    case SettingGroup::kProgress:
      for (std::size_t k = 0; k < std::size(kProgressThresholds); ++k) {
        if (settings.progress_threshold == kProgressThresholds[k]) {
          return static_cast<int>(k);
        }
      }
      return -1;
    case SettingGroup::kFunction:
      return index_of(settings.function);
    case SettingGroup::kNull:
      return index_of(settings.null_model);
    case SettingGroup::kPairs:
      return index_of(settings.pairs);
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

bool set_setting(RunSettings& settings, SettingGroup group, int index) {
  switch (group) {
    case SettingGroup::kSignificance:
      if (auto choice = choice_from_index<Significance>(index)) {
        settings.significance_index = *choice;
        return true;
      }
      return false;
    case SettingGroup::kDirection:
      if (auto choice = choice_from_index<Direction>(index)) {
        set_direction(settings, *choice);
        return true;
      }
      return false;
    case SettingGroup::kRandomize:
      if (auto choice = choice_from_index<RandomizeMode>(index)) {
        settings.randomize_mode = *choice;
        return true;
      }
      return false;
    case SettingGroup::kProgress:
      if (index < 0 ||
          index >= static_cast<int>(std::size(kProgressThresholds))) {
        return false;
      }
      settings.progress_threshold =
          kProgressThresholds[static_cast<std::size_t>(index)];
      return true;
    case SettingGroup::kFunction:
      if (index < 0 || index > 2) return false;
      settings.function = static_cast<FunctionKind>(index);
      return true;
    case SettingGroup::kNull:
      if (index < 0 || index > 2) return false;
      settings.null_model = static_cast<NullKind>(index);
      return true;
    case SettingGroup::kPairs:
      if (index < 0 || index > 2) return false;
      settings.pairs = static_cast<PairSet>(index);
      return true;
  }
  return false;
}

bool set_bandwidth(RunSettings& settings, const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) {
    settings.bandwidth = 0;
    return true;
  }
  const auto last = text.find_last_not_of(" \t");
  return parse_positive_length(text.substr(first, last - first + 1),
                               settings.bandwidth);
}

bool apply_setting_command(RunSettings& settings, int command) {
  const auto group = setting_group(command);
  if (!group) return false;
  // Randomize numbers its choices from 1, the other groups from 0.
  const int first_index = *group == SettingGroup::kRandomize ? 1 : 0;
  return set_setting(settings, *group,
                     command - first_command(*group) + first_index);
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

std::string function_text(const RunSettings& settings) {
  std::string text = function_label(settings.function);
  if (settings.function == FunctionKind::kL) return text;
  if (settings.estimator == PcfEstimator::kRing) return text + ", rings";
  char h[64];
  std::snprintf(h, sizeof h, "%.6g", settings.bandwidth);
  return text + ", kernel, bandwidth " +
         (settings.bandwidth > 0 ? std::string(h)
                                 : std::string("0.15 / sqrt(lambda)"));
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
  text += pick(kTests, 4, index_of(settings.significance_index));
  text += "\n\nDirection analysed :\t\t";
  text += pick(kDirections, 4, index_of(settings.direction_index));
  text += "\n\nRandomize :\t\t";
  text += pick(kRandomize, 2, index_of(settings.randomize_mode) - 1);
  text += "\n\nGenerator :\t\t";
  text += generator_name(settings.generator);
  text += "\n\nTest centre :\t\t";
  text += settings.test_centre == TestCentre::kMean ? "mean of the simulations"
                                                    : "CSR value";
  text += "\n\nFunction :\t\t";
  text += function_text(settings);
  text += "\n\nIntensity :\t\t";
  text += intensity_setting_text(settings.intensity);
  static const char* const kNulls[] = {"header's model", "random labelling",
                                       "toroidal shift"};
  text += "\n\nNull model :\t\t";
  text += pick(kNulls, 3, index_of(settings.null_model));
  static const char* const kPairs[] = {"across species", "within species 1",
                                       "within species 2"};
  text += "\n\nPairs :\t\t\t";
  text += pick(kPairs, 3, index_of(settings.pairs));
  return text;
}

}  // namespace qlor
