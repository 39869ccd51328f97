// The instruction sets the estimator kernel is built for. Every variant
// computes each value with the same IEEE operations (no contraction into
// fused multiply-adds), so all give identical results; the wider ones only
// run more lanes at once. (The AVX2 and AVX-512 variants take a fused
// multiply-add only for an exact product's error, which is exact either way.)
#pragma once

#include <string_view>
#include <utility>
#include <vector>

#if defined(__x86_64__) && !defined(QLOR_NO_WIDE_KERNELS)
#define QLOR_WIDE_KERNELS 1
#define QLOR_TARGET_AVX2 __attribute__((target("avx2,fma")))
#define QLOR_TARGET_AVX512 __attribute__((target("avx512f")))
#endif

// Inlines a lambda of a kernel into its caller. A lambda is a function of its
// own: left out of line it is compiled once, for the baseline, and every
// variant would call that copy.
#define QLOR_INLINE_LAMBDA __attribute__((always_inline))

namespace qlor {

enum class KernelIsa { kBaseline, kAvx2, kAvx512 };

/// The variant the estimators use: the widest this processor runs, capped
/// by the environment variable QLOR_ISA (avx512, avx2 or baseline) when it
/// is set, or by cap_kernel_isa.
[[nodiscard]] KernelIsa best_kernel_isa();

/// "avx512", "avx2", "baseline".
[[nodiscard]] const char* kernel_isa_name(KernelIsa isa);

/// Reads a name as kernel_isa_name writes it; false for any other text.
[[nodiscard]] bool parse_kernel_isa(std::string_view name, KernelIsa& isa);

/// Caps the variant from now on at `isa` (or the widest the processor
/// runs, when it runs less), as QLOR_ISA does at the start.
void cap_kernel_isa(KernelIsa isa);

/// Every variant this processor runs, the baseline first.
[[nodiscard]] std::vector<KernelIsa> supported_kernel_isas();

namespace kernel_isa_detail {

// One entry point per instruction set; each compiles its own copy of the
// kernel, inlined whole.
template <auto Kernel, class... Args>
decltype(auto) run_baseline(Args&&... args) {
  return Kernel(std::forward<Args>(args)...);
}
#ifdef QLOR_WIDE_KERNELS
template <auto Kernel, class... Args>
QLOR_TARGET_AVX2 decltype(auto) run_avx2(Args&&... args) {
  return Kernel(std::forward<Args>(args)...);
}
template <auto Kernel, class... Args>
QLOR_TARGET_AVX512 decltype(auto) run_avx512(Args&&... args) {
  return Kernel(std::forward<Args>(args)...);
}
#endif

}  // namespace kernel_isa_detail

/// Calls the kernel for the instruction set `isa`, which the processor must
/// run, compiled for it: Baseline, Avx2 or Avx512 (args...). Each kernel is a
/// function marked always_inline, and so are the lambdas its loops call
/// (QLOR_INLINE_LAMBDA), so that each variant compiles the whole body for its
/// instruction set.
template <auto Baseline, auto Avx2, auto Avx512, class... Args>
decltype(auto) run_kernel(KernelIsa isa, Args&&... args) {
  switch (isa) {
#ifdef QLOR_WIDE_KERNELS
    case KernelIsa::kAvx512:
      return kernel_isa_detail::run_avx512<Avx512>(std::forward<Args>(args)...);
    case KernelIsa::kAvx2:
      return kernel_isa_detail::run_avx2<Avx2>(std::forward<Args>(args)...);
#endif
    default:
      return kernel_isa_detail::run_baseline<Baseline>(
          std::forward<Args>(args)...);
  }
}

}  // namespace qlor
