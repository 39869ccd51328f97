// Curves from a temporary file, and values as the file holds them.
#include "results/curve_source.h"

#include "model/decimal.h"
#include "results/number_format.h"
#include "results/tmp_file.h"

namespace qlor {

Status TmpFileCurves::each(const Visit& visit) const {
  TmpFileReader reader;
  if (!reader.open(path_)) return kTmpIncomplete;
  std::vector<double> block(n_distances_);
  for (std::size_t s = 0; s < n_curves_; ++s) {
    if (!reader.read_block(block)) return kTmpIncomplete;
    visit(s, block);
  }
  return {};
}

double as_written(double v) {
  std::string text;
  append_g(text, v);
  double back = 0;
  return parse_decimal(text, back) ? back : v;
}

}  // namespace qlor
