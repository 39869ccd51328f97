// Random labelling by a Fisher-Yates shuffle of the observed labels.
#include "simulation/random_labelling.h"

#include <utility>
#include <vector>

namespace qlor {

namespace {

class RandomLabelling final : public NullModel {
 public:
  [[nodiscard]] Status prepare(const AnalysisState& observed,
                               PatternDraws&) override {
    labels_.clear();
    for (const PointRecord& p : observed.points) {
      labels_.push_back(p.species != 0 ? 1 : 0);
    }
    return {};
  }

  [[nodiscard]] Status simulate(AnalysisState& state,
                                PatternDraws& draws) const override {
    draws.start_attempt();
    std::vector<std::int32_t> labels = labels_;
    for (std::size_t i = labels.size(); i > 1; --i) {
      const auto j =
          static_cast<std::size_t>(draws.below(static_cast<std::int32_t>(i)));
      std::swap(labels[i - 1], labels[j]);
    }
    for (std::size_t i = 0; i < labels.size(); ++i) {
      state.points[i].species = labels[i];
    }
    return {};
  }

 private:
  std::vector<std::int32_t> labels_;  // the observed ones, in point order
};

}  // namespace

std::unique_ptr<NullModel> make_random_labelling_model() {
  return std::make_unique<RandomLabelling>();
}

}  // namespace qlor
