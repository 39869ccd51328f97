// The calendar clock behind every generator seed, injectable so that a run
// can be made reproducible (--seed) and tests deterministic.
#pragma once

#include <cstdint>

namespace qlor {

class Clock {
 public:
  virtual ~Clock() = default;
  /// Calendar time in whole seconds since 1970.
  [[nodiscard]] virtual std::int64_t now_seconds() const = 0;
};

class SystemClock final : public Clock {
 public:
  [[nodiscard]] std::int64_t now_seconds() const override;
};

/// A clock that always reads the same time.
class FixedClock final : public Clock {
 public:
  explicit FixedClock(std::int64_t seconds) : seconds_(seconds) {}
  [[nodiscard]] std::int64_t now_seconds() const override { return seconds_; }

 private:
  std::int64_t seconds_;
};

}  // namespace qlor
