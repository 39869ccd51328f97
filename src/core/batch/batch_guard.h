// A batch file must survive the run that reads it: no file the run writes
// may be the batch file itself.
#pragma once

#include <string>

#include "analysis/app_context.h"

namespace qlor {

/// The first file that a batch run of `batch_entries` would write and that
/// is the batch file `batch_file_name` itself (compared by file identity, so
/// links count): its error file, or an entry's temporary, result or test
/// file. Entries that cannot be opened write nothing and are passed over.
/// Returns "" when no output is the batch file.
[[nodiscard]] std::string output_naming_batch_file(const AppContext& ctx,
                                                   const ViewState& view);

/// Ends a batch command whose output would overwrite its batch file: the
/// write error for `output`, then the abort, and the entries are forgotten.
void refuse_batch_output(AppContext& ctx, ViewState& view,
                         const std::string& output);

}  // namespace qlor
