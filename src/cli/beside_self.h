// Programs built beside qlor: qlor starts them for the work whose libraries
// it does not link itself.
#pragma once

#include <string>

namespace qlor {

/// The program `name` in the folder of the running program; "" when that
/// folder is unknown.
[[nodiscard]] std::string program_beside_self(const char* name);

}  // namespace qlor
