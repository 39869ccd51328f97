// The memory bound of every allocation of a run.
#include "model/allocate.h"

#include <unistd.h>

#include <limits>

namespace qlor {

bool fits_in_memory(std::size_t n, std::size_t size) {
  // Linux hands out address space freely and kills the process when the
  // pages are touched; an array larger than the machine's memory is treated
  // as a failed allocation up front.
  static const std::size_t physical = [] {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long page_size = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || page_size <= 0)
      return std::numeric_limits<std::size_t>::max();
    return static_cast<std::size_t>(pages) *
           static_cast<std::size_t>(page_size);
  }();
  if (size == 0) return true;
  return n <= physical / size;
}

}  // namespace qlor
