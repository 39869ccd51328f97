// The hash of an exact position.
#include "model/point_record.h"

#include <bit>

namespace qlor {

std::size_t PositionHash::operator()(
    const std::pair<double, double>& p) const noexcept {
  const auto bits = [](double v) {
    return v == 0.0 ? 0ull : std::bit_cast<unsigned long long>(v);
  };
  unsigned long long h = bits(p.first) * 0x9E3779B97F4A7C15ull;
  h ^= bits(p.second) + 0x7F4A7C159E3779B9ull + (h << 6) + (h >> 2);
  return static_cast<std::size_t>(h ^ (h >> 29));
}

}  // namespace qlor
