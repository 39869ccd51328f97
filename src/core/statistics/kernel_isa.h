// The instruction sets the estimator kernel is built for. Every variant
// computes each value with the same IEEE operations (no contraction into
// fused multiply-adds), so all give identical results; the wider ones only
// run more lanes at once.
#pragma once

#include <vector>

namespace qlor {

enum class KernelIsa { kBaseline, kAvx2, kAvx512 };

/// The widest variant this processor runs.
[[nodiscard]] KernelIsa best_kernel_isa();

/// Every variant this processor runs, the baseline first.
[[nodiscard]] std::vector<KernelIsa> supported_kernel_isas();

}  // namespace qlor

#if defined(__x86_64__) && !defined(QLOR_NO_WIDE_KERNELS)
#define QLOR_WIDE_KERNELS 1
#define QLOR_TARGET_AVX2 __attribute__((target("avx2")))
#define QLOR_TARGET_AVX512 __attribute__((target("avx512f")))
#endif
