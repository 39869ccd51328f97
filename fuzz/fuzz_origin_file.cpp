// Fuzz target: the origin file reader. Any message is fine; crashes,
// sanitizer reports and an accepted origin that is not finite, or that does
// not read back from the text written for it, are not.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "input/plot_origin.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  qlor::PlotOrigin origin;
  if (!qlor::parse_origin_file(text, "f.origin", origin).ok()) return 0;
  if (!std::isfinite(origin.x) || !std::isfinite(origin.y)) std::abort();
  qlor::PlotOrigin again;
  if (!qlor::parse_origin_file(qlor::origin_file_text(origin), "f.origin",
                               again)
           .ok() ||
      again.x != origin.x || again.y != origin.y) {
    std::abort();
  }
  return 0;
}
