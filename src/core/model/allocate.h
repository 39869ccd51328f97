// Allocation of the arrays of a run without exceptions: a failure becomes
// the tag of what the array's size depends on.
#pragma once

#include <cstddef>
#include <exception>
#include <vector>

#include "model/status.h"

namespace qlor {

/// Resizes `v` to `n` zeroed elements; an allocation that fails (or one
/// larger than the machine could ever hold) is reported as an allocation
/// failure of `cause` instead of throwing.
template <class T>
[[nodiscard]] Status allocate(std::vector<T>& v, std::size_t n,
                              AllocationCause cause);

/// True when `n` elements of `size` bytes fit in the machine's memory.
[[nodiscard]] bool fits_in_memory(std::size_t n, std::size_t size);

template <class T>
Status allocate(std::vector<T>& v, std::size_t n, AllocationCause cause) {
  if (!fits_in_memory(n, sizeof(T))) return Status::allocation_failure(cause);
  try {
    v.assign(n, T{});
  } catch (const std::exception&) {
    return Status::allocation_failure(cause);
  }
  return {};
}

}  // namespace qlor
