// The toroidal shift of species 2.
#include "simulation/toroidal_shift.h"

#include <vector>

namespace qlor {

namespace {

// One coordinate moved by `step` (below `side`) on the circle of length
// `side`.
double wrapped(double v, double step, double side) {
  const double moved = v + step;
  return moved >= side ? moved - side : moved;
}

class ToroidalShift final : public NullModel {
 public:
  [[nodiscard]] Status prepare(const AnalysisState& observed,
                               PatternDraws&) override {
    observed_ = observed.points;
    return {};
  }

  [[nodiscard]] Status simulate(AnalysisState& state,
                                PatternDraws& draws) const override {
    draws.start_attempt();
    const double dx = draws.uniform() * state.x_axis;
    const double dy = draws.uniform() * state.y_axis;
    for (std::size_t i = 0; i < observed_.size(); ++i) {
      const PointRecord& p = observed_[i];
      if (p.species == 0) continue;
      state.points[i].x = wrapped(p.x, dx, state.x_axis);
      state.points[i].y = wrapped(p.y, dy, state.y_axis);
    }
    return {};
  }

 private:
  std::vector<PointRecord> observed_;
};

}  // namespace

std::unique_ptr<NullModel> make_toroidal_shift_model() {
  return std::make_unique<ToroidalShift>();
}

}  // namespace qlor
