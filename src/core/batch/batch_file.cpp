// Batch files, entry checks and the error file.
#include "batch/batch_file.h"

#include <filesystem>
#include <iterator>

#include "analysis/open_dialogs.h"
#include "analysis/pattern_run.h"
#include "analysis/single_run.h"

namespace qlor {

bool read_batch_entries(const std::string& path,
                        std::vector<std::string>& entries) {
  if (!can_open_for_reading(path)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  const std::string text((std::istreambuf_iterator<char>(in)),
                         std::istreambuf_iterator<char>());
  // The same lines as the view shows of the file.
  entries = split_view_lines(text);
  return true;
}

bool obtain_batch_entries(AppContext& ctx, ViewState& view, bool quiet) {
  if (view.input_path.empty()) {
    open_batch_file(ctx, view);
    // A cancelled dialog ends silently; a file the dialog could not open
    // has had its message there.
    if (view.open_cancelled == 1 || view.input_path.empty()) return false;
  }
  if (view.batch_selected == 0) {
    if (!quiet) {
      ctx.platform.message_box(kSelectSingleFile, Buttons::kOk, Icon::kStop);
    }
    return false;
  }
  view.batch_entries.clear();
  if (!read_batch_entries(view.input_path, view.batch_entries)) {
    if (!quiet) {
      ctx.platform.message_box(kFileOpenError, Buttons::kOk, Icon::kStop);
      view.input_path.clear();
    }
    return false;
  }
  view.input_path.clear();
  return true;
}

Status check_batch_entry(const AppContext& ctx, const std::string& input_path,
                         AnalysisState& state, ProgressCounters& counters) {
  if (!can_open_for_reading(input_path)) return kEntryNotFound;
  Status status =
      read_sample_file(ctx, input_path, state, counters, RecordPass::kPrecheck);
  if (status.ok()) counters.pairs_total_batch += counters.pairs_total_file;
  return status;
}

std::string entry_error_text(std::string_view file_title,
                             const Status& status) {
  std::string text = "FILE :\t";
  text += file_title;
  text += "  \n\nERROR :\t";
  // A box never shows an allocation tag: its cause line stands for it.
  if (const auto cause = status.allocation_cause()) {
    text += allocation_cause_line(*cause);
    return text;
  }
  text += status.text();
  return text;
}

void ErrorFile::write_line(std::string_view file_title,
                           std::string_view separator,
                           std::string_view message) {
  if (line_count_ == 0) {
    out_.open(path_, std::ios::binary | std::ios::trunc);
  }
  ++line_count_;
  out_ << file_title << separator << message << "\r\n";
  out_.flush();
  if (!out_) failed_ = true;
}

}  // namespace qlor
