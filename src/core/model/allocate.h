// Allocation of the arrays of a run without exceptions: a failure becomes
// the tag of what the array's size depends on.
#pragma once

#include <cstddef>
#include <exception>
#include <string>
#include <vector>

namespace qlor {

/// Resizes `v` to `n` zeroed elements; an allocation that fails (or one
/// larger than the machine could ever hold) yields `tag` instead of throwing.
template <class T>
[[nodiscard]] std::string allocate(std::vector<T>& v, std::size_t n,
                                   const char* tag);

/// True when `n` elements of `size` bytes fit in the machine's memory.
[[nodiscard]] bool fits_in_memory(std::size_t n, std::size_t size);

template <class T>
std::string allocate(std::vector<T>& v, std::size_t n, const char* tag) {
  if (!fits_in_memory(n, sizeof(T))) return tag;
  try {
    v.assign(n, T{});
  } catch (const std::exception&) {
    return tag;
  }
  return {};
}

}  // namespace qlor
