// QLOR's version, as --version and the run records name it.
#pragma once

namespace qlor {

inline constexpr const char* kVersion = "1.0";

}  // namespace qlor
