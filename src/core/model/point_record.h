// A point of a pattern, and sets of exact positions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <utility>

namespace qlor {

/// One point of a pattern, in plot units; `species` is meaningful only for
/// bivariate patterns (0 = species 1, 1 = species 2).
struct PointRecord {
  double x = 0.0;
  double y = 0.0;
  std::int32_t species = 0;
};

/// Hash of an exact position (x, y) for the identity and coincidence
/// checks; +0.0 and -0.0 compare equal and so hash alike.
struct PositionHash {
  [[nodiscard]] std::size_t operator()(
      const std::pair<double, double>& p) const noexcept;
};

/// Hash set of point positions for the coincidence checks (exact equality of
/// x and y).
class PositionSet {
 public:
  void reserve(std::size_t n) { set_.reserve(n); }
  void clear() { set_.clear(); }
  [[nodiscard]] bool contains(const PointRecord& p) const {
    return set_.count(key(p)) != 0;
  }
  void insert(const PointRecord& p) { set_.insert(key(p)); }

 private:
  static std::pair<double, double> key(const PointRecord& p) {
    return {p.x, p.y};
  }
  std::unordered_set<std::pair<double, double>, PositionHash> set_;
};

}  // namespace qlor
