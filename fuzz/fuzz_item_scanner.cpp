// Fuzz target: the record scanner against formatted stream extraction. The
// first byte picks which of eight reads take an int instead of a double;
// any difference aborts.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "extraction_oracle.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size == 0) return 0;
  std::string ops(8, 'd');
  for (std::size_t k = 0; k < ops.size(); ++k) {
    if ((data[0] >> k) & 1u) ops[k] = 'i';
  }
  const std::string_view text(reinterpret_cast<const char*>(data + 1),
                              size - 1);
  const std::string difference =
      qlor::testing::first_extraction_difference(text, ops);
  if (!difference.empty()) {
    std::fprintf(stderr, "%s\n", difference.c_str());
    std::abort();
  }
  return 0;
}
