// Suffixes are taken off the end of the stem, the null model's first.
#include "analysis/run_name.h"

#include "results/file_names.h"
#include "simulation/null_model.h"
#include "statistics/summary_function.h"

namespace qlor {

RunName parse_run_name(const std::string& path) {
  RunName name;
  std::string stem = change_extension(path, "");
  name.null_kind = null_of_stem(stem);
  stem.resize(stem.size() - std::string(null_suffix(name.null_kind)).size());
  const StemFunction function = function_of_stem(stem);
  name.function = function.kind;
  name.pairs = function.pairs;
  stem.resize(stem.size() - function.suffix_size);
  if (stem != change_extension(path, "")) name.sample_path = stem + ".dat";
  return name;
}

}  // namespace qlor
