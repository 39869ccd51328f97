// Configuration lines are either a path line (INFILE=path) or a setting
// line whose last character is the value and whose key is everything
// before the separator in front of it.
#include "app/config_file.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

#include "app/setting_commands.h"
#include "model/decimal.h"
#include "results/file_names.h"

namespace qlor {

namespace {

struct KeyRange {
  const char* key;
  char lowest;
  char highest;
  std::optional<SettingGroup> group;  // none: the automatic-run request
};

constexpr KeyRange kKeys[] = {
    {"SIGNIFICANCE", '0', '3', SettingGroup::kSignificance},
    {"DIRECTION", '0', '3', SettingGroup::kDirection},
    {"RANDOMIZE", '1', '2', SettingGroup::kRandomize},
    {"PROGRESS_CTRL_BAR", '0', '4', SettingGroup::kProgress},
    {"AUTORUN", '0', '1', std::nullopt},
    {"AUTOEXEC", '0', '1', std::nullopt},
};

std::string upper_case(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

// Settings whose value is a word (KEY=word, either in any case); `apply`
// gets the word in upper case (as written when `keeps_case`: a path) and
// returns false for one it does not take.
struct WordKey {
  const char* key;
  bool (*apply)(RunSettings& settings, const std::string& word);
  bool keeps_case = false;
};

constexpr WordKey kWordKeys[] = {
    {"GENERATOR",
     [](RunSettings& settings, const std::string& word) {
       if (word != "PHILOX" && word != "CLASSIC") return false;
       settings.generator =
           word == "CLASSIC" ? GeneratorKind::kClassic : GeneratorKind::kPhilox;
       return true;
     }},
    {"CENTRE",
     [](RunSettings& settings, const std::string& word) {
       if (word != "CSR" && word != "MEAN") return false;
       settings.test_centre =
           word == "MEAN" ? TestCentre::kMean : TestCentre::kCsr;
       return true;
     }},
    {"FUNCTION",
     [](RunSettings& settings, const std::string& word) {
       if (word == "L") {
         settings.function = FunctionKind::kL;
       } else if (word == "G") {
         settings.function = FunctionKind::kG;
       } else if (word == "O") {
         settings.function = FunctionKind::kO;
       } else {
         return false;
       }
       return true;
     }},
    {"BANDWIDTH",
     [](RunSettings& settings, const std::string& word) {
       return parse_positive_length(word, settings.bandwidth);
     }},
    {"ESTIMATOR",
     [](RunSettings& settings, const std::string& word) {
       if (word != "KERNEL" && word != "RING") return false;
       settings.estimator =
           word == "RING" ? PcfEstimator::kRing : PcfEstimator::kKernel;
       return true;
     }},
    {"NULL",
     [](RunSettings& settings, const std::string& word) {
       if (word == "HEADER") {
         settings.null_model = NullKind::kHeader;
       } else if (word == "LABELS") {
         settings.null_model = NullKind::kLabels;
       } else if (word == "SHIFT") {
         settings.null_model = NullKind::kShift;
       } else {
         return false;
       }
       return true;
     }},
    {"PAIRS",
     [](RunSettings& settings, const std::string& word) {
       if (word == "CROSS") {
         settings.pairs = PairSet::kCross;
       } else if (word == "11") {
         settings.pairs = PairSet::k11;
       } else if (word == "22") {
         settings.pairs = PairSet::k22;
       } else {
         return false;
       }
       return true;
     }},
    // none, kernel, kernel:SIGMA or the path of a grid file.
    {"INTENSITY",
     [](RunSettings& settings, const std::string& word) {
       const std::string folded = upper_case(word);
       if (folded == "NONE" || folded == "KERNEL" ||
           folded.starts_with("KERNEL:")) {
         std::string lower = folded;
         for (char& c : lower) {
           if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
         }
         return parse_intensity_setting(lower, settings.intensity).ok();
       }
       return parse_intensity_setting(word, settings.intensity).ok();
     },
     true},
};

void show_line_message(AppContext& ctx, const char* format, int line_number) {
  char text[128];
  std::snprintf(text, sizeof text, format, line_number);
  ctx.platform.message_box(text, Buttons::kOk, Icon::kStop);
}

// A KEY=word line: false when the key is not one of the word keys; sets
// `in_range` false for a word the key does not take.
bool apply_word_line(AppContext& ctx, const std::string& line, bool& in_range) {
  const auto equals = line.find('=');
  if (equals == std::string::npos) return false;
  const std::string key = upper_case(line.substr(0, equals));
  for (const auto& k : kWordKeys) {
    if (key != k.key) continue;
    const std::string word = line.substr(equals + 1);
    in_range = k.apply(ctx.settings, k.keeps_case ? word : upper_case(word));
    return true;
  }
  return false;
}

// Returns false when the key is unknown; sets `in_range` false when the
// value character is not one of the key's.
bool apply_setting_line(AppContext& ctx, const std::string& line,
                        bool& in_range) {
  const char value = line.back();
  const std::string key = upper_case(line.substr(0, line.size() - 2));
  for (const auto& k : kKeys) {
    if (key != k.key) continue;
    if (value < k.lowest || value > k.highest) {
      in_range = false;
    } else if (k.group) {
      set_setting(ctx.settings, *k.group, value - '0');
    } else if (value == '1') {
      ctx.settings.autorun_pending = 1;
    }
    return true;
  }
  return false;
}

void process_line(AppContext& ctx, ViewState& view, const std::string& line,
                  int line_number) {
  bool known = false;
  bool in_range = true;
  if (line.compare(0, 6, "INFILE") == 0 || line.compare(0, 6, "infile") == 0) {
    // A path line without "=" names no path; a NUL byte would cut the
    // path short, so such a path is refused too.
    const auto equals = line.find('=');
    if (equals != std::string::npos &&
        line.find('\0', equals) == std::string::npos) {
      known = true;
      view.input_path = line.substr(equals + 1);
    }
  } else if (line.size() >= 2) {
    known = apply_word_line(ctx, line, in_range) ||
            apply_setting_line(ctx, line, in_range);
  }
  if (!known) show_line_message(ctx, kConfigUnknown, line_number);
  if (!in_range) show_line_message(ctx, kConfigOutOfRange, line_number);
}

// The automatic run needs a file; a request without one is dropped, so that
// later runs still show their messages.
void settle_autorun(AppContext& ctx, ViewState& view) {
  if (ctx.settings.autorun_pending != 1) return;
  if (view.input_path.empty()) {
    ctx.settings.autorun_pending = 0;
    ctx.platform.message_box(kAutorunWithoutInfile, Buttons::kOk, Icon::kStop);
    return;
  }
  if (is_batch_path(view.input_path)) {
    view.batch_selected = 1;
    view.batch_file_name = view.input_path;
  } else {
    view.batch_selected = 0;
  }
}

}  // namespace

void read_config(AppContext& ctx, ViewState& view, std::istream& in) {
  std::string line;
  int line_number = 0;
  char previous = '\0';
  for (std::istreambuf_iterator<char> it(in), end; it != end; ++it) {
    const char c = *it;
    if (c == '\n') {
      // Text-mode reading drops a carriage return right before a line feed.
      if (previous == '\r' && !line.empty()) line.pop_back();
      ++line_number;
      if (line.empty()) break;
      process_line(ctx, view, line, line_number);
      line.clear();
    } else if (c != ' ') {
      line += c;
    }
    previous = c;
  }
  settle_autorun(ctx, view);
}

void read_config_file(AppContext& ctx, ViewState& view, const std::string& path,
                      MissingConfig missing) {
  std::error_code ec;
  std::ifstream in;
  // Only a regular file: a device or a pipe might never end.
  if (std::filesystem::is_regular_file(path, ec)) {
    in.open(path, std::ios::binary);
  }
  if (!in.is_open()) {
    // One that is there but cannot be read (a folder) is always worth it.
    if (missing == MissingConfig::kReport ||
        std::filesystem::exists(path, ec)) {
      ctx.platform.message_box(kConfigMissing, Buttons::kOk, Icon::kStop);
    }
    view.input_path.clear();
    return;
  }
  read_config(ctx, view, in);
}

}  // namespace qlor
