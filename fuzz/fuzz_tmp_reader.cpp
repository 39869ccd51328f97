// Fuzz target: the temporary-file reader behind the envelopes and the tests
// of significance. The first two bytes choose the simulation and distance
// counts; the rest is the file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "model/analysis_state.h"
#include "results/result_file.h"
#include "results/significance_tests.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  if (size < 2) return 0;
  qlor::AnalysisState state;
  const int sims[] = {19, 99, 100, 120};
  state.n_simulations = sims[data[0] % 4];
  state.last_interval = data[1] % 8;
  state.t_interval = 0.5;
  state.t_max = 4;
  const std::string dir = "/tmp/qlor-fuzz-" + std::to_string(getpid());
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) return 0;
  const std::string tmp = dir + "/p.tmp";
  std::ofstream(tmp, std::ios::binary)
      .write(reinterpret_cast<const char*>(data + 2),
             static_cast<std::streamsize>(size - 2));
  (void)qlor::write_envelopes(state, {tmp});
  (void)qlor::supremum_test(state, tmp);
  (void)qlor::supremum_test(state, tmp, qlor::TestCentre::kMean);
  (void)qlor::cvm_test(state, tmp);
  return 0;
}
