// Saved patterns: coordinates with 17 significant digits, which read back
// as the very doubles the estimators saw. Moved back to a survey's origin,
// a point on the data's lattice is written as the decimal it was read
// from; any other with 17 digits of the sum.
#include "analysis/pattern_saver.h"

#include <algorithm>
#include <charconv>

#include "model/decimal.h"
#include "model/messages.h"

namespace qlor {

namespace {

void append_number(std::string& line, double v) {
  char text[32];
  const auto end = std::to_chars(text, text + sizeof text, v,
                                 std::chars_format::general, 17);
  line.append(text, end.ptr);
}

// Decimals of the lattice step, `units` thousandths.
int step_decimals(std::int32_t units) {
  int decimals = 3;
  while (decimals > 0 && units % 10 == 0) {
    units /= 10;
    --decimals;
  }
  return decimals;
}

// The decimals a moved coordinate keeps: the finer of the lattice's and the
// origin's (-1: the origin's are not known).
int column_decimals(int lattice, int origin) {
  return origin < 0 ? -1 : std::max(lattice, origin);
}

void append_moved(std::string& line, double v, double shift, int decimals) {
  if (shift == 0) {
    append_number(line, v);
  } else if (decimals >= 0 && decimal_sum(v, 0, decimals) == v) {
    line.append(shortest_decimal(decimal_sum(v, shift, decimals)));
  } else {
    append_number(line, v + shift);
  }
}

}  // namespace

Status PatternSaver::open(const std::string& path,
                          const AnalysisState& observed, const NullModel& model,
                          const SimulationEnv& env, const PlotOrigin& origin) {
  origin_ = origin;
  lattice_decimals_ = step_decimals(observed.coordinate_resolution);
  if (auto s = out_.open(path); !s.ok()) return s;
  if (auto s = out_.write("pattern,x,y,species\n"); !s.ok()) return s;
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
    append_moved(rows, p.x, origin_.x,
                 column_decimals(lattice_decimals_, origin_.x_decimals));
    rows.push_back(',');
    append_moved(rows, p.y, origin_.y,
                 column_decimals(lattice_decimals_, origin_.y_decimals));
    rows.append(p.species != 0 ? ",1\n" : ",0\n");
  }
  return out_.write(rows);
}

Status PatternSaver::close() {
  if (!is_open()) return {};
  model_ = nullptr;
  return out_.commit();
}

void PatternSaver::abandon() {
  model_ = nullptr;
  out_.abandon();
}

}  // namespace qlor
