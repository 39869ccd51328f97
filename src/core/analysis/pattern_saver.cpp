// Saved patterns: coordinates with 17 significant digits, which read back
// as the very doubles the estimators saw.
#include "analysis/pattern_saver.h"

#include <charconv>

#include "model/messages.h"

namespace qlor {

namespace {

void append_number(std::string& line, double v) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, v,
                                 std::chars_format::general, 17);
  line.append(text, end.ptr);
}

}  // namespace

Status PatternSaver::open(const std::string& path,
                          const AnalysisState& observed, const NullModel& model,
                          const SimulationEnv& env) {
  path_ = path;
  out_.open(path, std::ios::binary | std::ios::trunc);
  out_ << "pattern,x,y,species\n";
  if (!out_) return kFileWriteError + path;
  state_ = observed;
  model_ = &model;
  draws_ = make_pattern_draws(env.seed);
  return {};
}

Status PatternSaver::save(std::int32_t s) {
  draws_->start_pattern(s);
  if (auto status = model_->simulate(state_, *draws_); !status.ok()) {
    return status;
  }
  std::string rows;
  const std::string pattern = std::to_string(s);
  for (const PointRecord& p : state_.points) {
    rows.append(pattern).push_back(',');
    append_number(rows, p.x);
    rows.push_back(',');
    append_number(rows, p.y);
    rows.append(p.species != 0 ? ",1\n" : ",0\n");
  }
  out_ << rows;
  if (!out_) return kFileWriteError + path_;
  return {};
}

Status PatternSaver::close() {
  if (!is_open()) return {};
  model_ = nullptr;
  out_.close();
  if (!out_) return kFileWriteError + path_;
  return {};
}

}  // namespace qlor
