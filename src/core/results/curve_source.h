// The curves of a run, pattern after pattern, wherever they are kept: in
// its temporary file, or in memory as the file would hold them. The result
// file, the tests of significance and the global envelope read them through
// this one interface.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "model/status.h"

namespace qlor {

/// The curves of a run: curves[0] is the observed one, curves[1 ... n] the
/// simulated ones; every curve has one value per distance.
using CurveSet = std::vector<std::vector<double>>;

class CurveSource {
 public:
  using Visit = std::function<void(std::size_t s, const std::vector<double>&)>;
  virtual ~CurveSource() = default;
  /// Calls visit(s, curve) for every curve in pattern order, s = 0 first.
  /// Returns "" or the incomplete-file text.
  [[nodiscard]] virtual Status each(const Visit& visit) const = 0;
};

/// The n_curves blocks of n_distances values of a temporary file, read
/// anew at every pass.
class TmpFileCurves final : public CurveSource {
 public:
  TmpFileCurves(std::string path, std::size_t n_curves, std::size_t n_distances)
      : path_(std::move(path)),
        n_curves_(n_curves),
        n_distances_(n_distances) {}
  [[nodiscard]] Status each(const Visit& visit) const override;

 private:
  std::string path_;
  std::size_t n_curves_;
  std::size_t n_distances_;
};

/// Curves held in memory.
class MemoryCurves final : public CurveSource {
 public:
  explicit MemoryCurves(const CurveSet& curves) : curves_(curves) {}
  [[nodiscard]] Status each(const Visit& visit) const override {
    for (std::size_t s = 0; s < curves_.size(); ++s) visit(s, curves_[s]);
    return {};
  }

 private:
  const CurveSet& curves_;
};

/// A value as a temporary file holds it: written with six significant
/// digits and read back.
[[nodiscard]] double as_written(double v);

}  // namespace qlor
