// Fuzz target: the run record reader. Any message is fine; crashes,
// sanitizer reports, and an accepted record that does not read back the
// same from the text written for it, are not.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "results/run_record.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  qlor::RunRecord record;
  if (!qlor::parse_run_record(text, "f.run", record).ok()) return 0;
  qlor::RunRecord again;
  if (!qlor::parse_run_record(qlor::run_record_text(record), "f.run", again)
           .ok() ||
      !qlor::first_difference(record, again).empty() ||
      again.entries.size() != record.entries.size()) {
    std::abort();
  }
  return 0;
}
