// Which estimator variants the processor runs.
#include "statistics/kernel_isa.h"

namespace qlor {

std::vector<KernelIsa> supported_kernel_isas() {
  std::vector<KernelIsa> isas = {KernelIsa::kBaseline};
#ifdef QLOR_WIDE_KERNELS
  __builtin_cpu_init();
  if (__builtin_cpu_supports("avx2")) isas.push_back(KernelIsa::kAvx2);
  if (__builtin_cpu_supports("avx512f")) isas.push_back(KernelIsa::kAvx512);
#endif
  return isas;
}

KernelIsa best_kernel_isa() {
  static const KernelIsa best = supported_kernel_isas().back();
  return best;
}

}  // namespace qlor
