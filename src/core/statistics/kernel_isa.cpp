// Which estimator variants the processor runs.
#include "statistics/kernel_isa.h"

#include <atomic>
#include <cstdlib>

namespace qlor {

std::vector<KernelIsa> supported_kernel_isas() {
  std::vector<KernelIsa> isas = {KernelIsa::kBaseline};
#ifdef QLOR_WIDE_KERNELS
  __builtin_cpu_init();
  // The AVX2 variant also takes fused multiply-adds, which every AVX2
  // processor made so far has.
  if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) {
    isas.push_back(KernelIsa::kAvx2);
  }
  if (__builtin_cpu_supports("avx512f")) isas.push_back(KernelIsa::kAvx512);
#endif
  return isas;
}

namespace {

KernelIsa widest_supported() {
  static const KernelIsa widest = supported_kernel_isas().back();
  return widest;
}

KernelIsa capped(KernelIsa isa) {
  return static_cast<int>(isa) < static_cast<int>(widest_supported())
             ? isa
             : widest_supported();
}

// The variant in use, first from QLOR_ISA (ignored when it names none:
// the console refuses such a value before any run).
std::atomic<KernelIsa>& variant_in_use() {
  static std::atomic<KernelIsa> variant = [] {
    KernelIsa isa = widest_supported();
    const char* cap = std::getenv("QLOR_ISA");
    KernelIsa asked;
    if (cap != nullptr && parse_kernel_isa(cap, asked)) isa = capped(asked);
    return isa;
  }();
  return variant;
}

}  // namespace

KernelIsa best_kernel_isa() { return variant_in_use().load(); }

const char* kernel_isa_name(KernelIsa isa) {
  switch (isa) {
    case KernelIsa::kAvx512:
      return "avx512";
    case KernelIsa::kAvx2:
      return "avx2";
    case KernelIsa::kBaseline:
      break;
  }
  return "baseline";
}

bool parse_kernel_isa(std::string_view name, KernelIsa& isa) {
  for (const KernelIsa k :
       {KernelIsa::kBaseline, KernelIsa::kAvx2, KernelIsa::kAvx512}) {
    if (name == kernel_isa_name(k)) {
      isa = k;
      return true;
    }
  }
  return false;
}

void cap_kernel_isa(KernelIsa isa) { variant_in_use().store(capped(isa)); }

}  // namespace qlor
