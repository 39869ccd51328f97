// Fuzz target: a batch file through the batch commands. The first byte
// picks the command, the answers and the settings; the rest is the batch
// file, run in a private folder that holds a few sample data files. Any
// messages are fine; crashes, sanitizer reports, a pre-check that writes,
// and a command that deletes or changes an input file are not.
#include <unistd.h>

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "analysis/app_context.h"
#include "app/commands.h"
#include "app/setting_commands.h"
#include "batch/auto_batch.h"
#include "batch/batch_precheck.h"
#include "batch/batch_run.h"

namespace {

namespace fs = std::filesystem;

class QuietProgress final : public qlor::ProgressDialog {
 public:
  void show() override {}
  void set_bar(int, int) override {}
  void set_text(int, std::string_view) override {}
  void repaint() override {}
};

class ScriptPlatform final : public qlor::Platform {
 public:
  bool yes = true;
  bool chosen = false;
  qlor::Answer message_box(std::string_view, qlor::Buttons buttons,
                           qlor::Icon) override {
    if (buttons == qlor::Buttons::kOk) return qlor::Answer::kOk;
    return yes ? qlor::Answer::kYes : qlor::Answer::kNo;
  }
  std::optional<qlor::ChosenFile> open_file_dialog(std::string_view,
                                                   std::string_view) override {
    if (chosen) return std::nullopt;
    chosen = true;
    return qlor::ChosenFile{"in.bat", "in.bat"};
  }
  std::unique_ptr<qlor::ProgressDialog> create_progress_dialog(bool) override {
    return std::make_unique<QuietProgress>();
  }
  void set_window_title(std::string_view) override {}
  void show_text(const std::vector<std::string>&) override {}
};

// Small files of each kind the entries may name: univariate, bivariate,
// inhibition, cluster, a header fault, a record fault and a name without
// extension.
const std::map<std::string, std::string> kSamples{
    {"p.dat", "20 20 1 1 5 19\n1 1\n5 5\n9.5 3\n12 17\n3 14\n17.5 8\n"},
    {"b.dat", "20 20 1 1 5 19\n1 1 0\n5 5 1\n9.5 3 0\n12 17 1\n3 14 0\n"},
    {"i.dat", "20 20 1 1 5 19 1 0\n1 1\n5 5\n9.5 3\n12 17\n3 14\n"},
    {"k.dat", "20 20 1 1 5 19 2 0.5 2\n1 1\n5 5\n9.5 3\n12 17\n3 14\n"},
    {"h.dat", "20 20 1 1 15 19\n1 1\n5 5\n"},
    {"r.dat", "20 20 1 1 5 19\n1 1\n25 5\n"},
    {"n", "20 20 1 1 5 19\n1 1\n5 5\n9.5 3\n12 17\n"},
};

fs::path sandbox() {
  return "/tmp/qlor-fuzz-batch-" + std::to_string(getpid());
}

void remove_sandbox() {
  std::error_code ec;
  fs::remove_all(sandbox(), ec);
}

void require(bool condition) {
  if (!condition) __builtin_trap();
}

std::string read_all(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::map<std::string, std::string> snapshot(const fs::path& dir) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(dir)) {
    files[entry.path().filename().string()] = read_all(entry.path());
  }
  return files;
}

// Entries stay inside the folder: no absolute paths, no way up, and few
// enough that an input runs in milliseconds.
bool stays_inside(const std::string& text) {
  if (text.find("..") != std::string::npos) return false;
  std::size_t lines = 0;
  bool line_start = true;
  for (char c : text) {
    if (line_start && (c == '/' || c == '~')) return false;
    line_start = c == '\n';
    lines += line_start ? 1 : 0;
  }
  return lines <= 64;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size < 1) return 0;
  const std::string batch(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (!stays_inside(batch)) return 0;
  const unsigned choice = data[0];

  static const bool registered = std::atexit(remove_sandbox) == 0;
  (void)registered;
  const fs::path dir = sandbox();
  std::error_code ec;
  fs::remove_all(dir, ec);
  fs::create_directories(dir, ec);
  if (ec) return 0;
  for (const auto& [name, text] : kSamples) {
    std::ofstream(dir / name, std::ios::binary) << text;
  }
  std::ofstream(dir / "in.bat", std::ios::binary) << batch;
  const auto before = snapshot(dir);

  char saved[PATH_MAX];
  if (getcwd(saved, sizeof saved) == nullptr || chdir(dir.c_str()) != 0) {
    return 0;
  }
  ScriptPlatform platform;
  platform.yes = (choice & 4) != 0;
  const qlor::FixedClock clock(12345);
  qlor::AppContext ctx(platform, clock);
  qlor::ViewState view;
  ctx.settings.threads = 1;
  ctx.settings.significance_index =
      static_cast<qlor::Significance>(static_cast<int>(choice >> 4) % 4);
  if ((choice & 8) != 0)
    qlor::apply_setting_command(ctx.settings, qlor::kCmdDirectionCardinal);
  switch (choice % 4) {
    case 0:
      (void)qlor::batch_precheck(ctx, view);
      break;
    case 1:
      (void)qlor::batch_check_and_analyse(ctx, view);
      break;
    default:
      // 3: the start-up form of the automatic run.
      ctx.settings.autorun_pending = choice % 4 == 3 ? 1 : 0;
      if (ctx.settings.autorun_pending == 1) {
        view.input_path = "in.bat";
        view.batch_file_name = "in.bat";
        view.batch_selected = 1;
      }
      (void)qlor::batch_auto_analyse(ctx, view);
      break;
  }
  require(chdir(saved) == 0);

  const auto after = snapshot(dir);
  if (choice % 4 == 0)
    require(after == before);  // the pre-check writes nothing
  for (const auto& [name, text] : before) {
    // Nothing is deleted, no input is changed.
    const auto it = after.find(name);
    require(it != after.end() && it->second == text);
  }
  return 0;
}
