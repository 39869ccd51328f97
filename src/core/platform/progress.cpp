// Progress dialog arithmetic.
#include "platform/progress.h"

#include <cmath>
#include <cstdio>

namespace qlor {

namespace {

constexpr const char* kComplete = "Status: Calculation complete";

}  // namespace

int progress_percent(double total, double done) {
  const double step = std::trunc(total / 100 + 0.5);
  double percent = 0;
  if (step > 0) {
    percent = std::trunc(done / step + 0.5);
  } else if (total > 0) {
    percent = std::trunc(100 * done / total + 0.5);
  }
  if (!(percent < 1e9)) return 1000000000;
  return percent > 0 ? static_cast<int>(percent) : 0;
}

std::unique_ptr<ProgressDialog> create_one_bar(Platform& platform) {
  auto dialog = platform.create_progress_dialog(false);
  dialog->set_bar(kBarAll, 0);
  dialog->set_text(kTextRun, "Status: 0%");
  return dialog;
}

std::unique_ptr<ProgressDialog> create_two_bar(Platform& platform) {
  auto dialog = platform.create_progress_dialog(true);
  dialog->set_bar(kBarAll, 0);
  dialog->set_text(kTextAll, "Status: 0%");
  dialog->set_bar(kBarFile, 0);
  dialog->set_text(kTextFile, "Status: 0%");
  return dialog;
}

void update_one_bar(ProgressDialog& dialog, double total, double done) {
  const int percent = progress_percent(total, done);
  char text[64];
  std::snprintf(text, sizeof text, "Status: %d%% done", percent);
  dialog.set_bar(kBarAll, percent);
  dialog.set_text(kTextRun, text);
  dialog.repaint();
  if (percent >= 100) {
    dialog.set_text(kTextRun, kComplete);
    dialog.repaint();
  }
}

void update_two_bar(ProgressDialog& dialog, double all_total, double all_done,
                    double file_total, double file_done,
                    const std::string& name) {
  const int all_percent = progress_percent(all_total, all_done);
  const int file_percent = progress_percent(file_total, file_done);
  char all_text[64];
  std::snprintf(all_text, sizeof all_text, "ALL FILES: - Status: %d%% done",
                all_percent);
  const std::string file_text = "FILE: " + name +
                                "  -  Status: " + std::to_string(file_percent) +
                                "% done";
  dialog.set_bar(kBarAll, all_percent);
  dialog.set_text(kTextAll, all_text);
  dialog.set_bar(kBarFile, file_percent);
  dialog.set_text(kTextFile, file_text);
  dialog.repaint();
  if (all_percent >= 100) {
    dialog.set_text(kTextAll, kComplete);
    dialog.repaint();
  }
}

}  // namespace qlor
