// First pass over a sample data file. Items must be separated by exactly one
// blank or tab: the layout is decided by counting separators.
#include "input/header_reader.h"

#include <limits>

#include "input/item_scanner.h"

namespace qlor {

namespace {

bool is_separator(int ch) { return ch == ' ' || ch == '\t'; }

// Counts the records after line 2 by formatted extraction, up to the first
// record that cannot be read in full.
std::int64_t count_more_records(std::istream& in, bool bivariate) {
  const std::string text = read_rest(in);
  ItemScanner items(text);
  std::int64_t count = 0;
  double x = 0;
  double y = 0;
  std::int32_t species = 0;
  while (items.read(x) && items.read(y)) {
    if (bivariate && !items.read(species)) break;
    ++count;
  }
  return count;
}

}  // namespace

bool item_ends_cleanly(std::istream& in) {
  const int next = in.peek();
  return next == std::char_traits<char>::eof() ||
         ends_item(static_cast<char>(next));
}

Status read_header(AnalysisState& state, std::istream& in,
                   Direction direction_index, Significance significance_index) {
  // 1. Line 1: 5, 7 or 8 separators.
  int separators = 0;
  int ch = 0;
  while ((ch = in.get()) != std::char_traits<char>::eof() && ch != '\n') {
    if (is_separator(ch)) ++separators;
  }
  if (ch != '\n') return kFileEmpty;
  switch (separators) {
    case 5:
      state.process_type = ProcessType::kCsr;
      break;
    case 7:
      state.process_type = ProcessType::kInhibition;
      break;
    case 8:
      state.process_type = ProcessType::kCluster;
      break;
    default:
      return kWrongParameterCount;
  }

  // 2. Line 2 (empty lines and lines without separators are passed over).
  separators = 0;
  while ((ch = in.get()) != std::char_traits<char>::eof()) {
    if (is_separator(ch)) {
      ++separators;
    } else if (ch == '\n') {
      if (separators > 2) return kLine2TooManyBlanks;
      if (separators > 0) {
        state.analysis_type = separators == 1 ? AnalysisType::kUnivariate
                                              : AnalysisType::kBivariate;
        break;
      }
    }
  }

  // 3. Directional analysis needs two species.
  if (state.analysis_type == AnalysisType::kUnivariate &&
      direction_index != Direction::kNone &&
      significance_index == Significance::kNone) {
    return kUnivariateDirection;
  }

  // 4. The record just scanned counts as one.
  in.clear(in.rdstate() & ~std::ios::failbit);
  const std::int64_t records =
      1 + (in ? count_more_records(
                    in, state.analysis_type == AnalysisType::kBivariate)
              : 0);
  state.n_points = records > std::numeric_limits<std::int32_t>::max()
                       ? std::numeric_limits<std::int32_t>::max()
                       : static_cast<std::int32_t>(records);
  return {};
}

}  // namespace qlor
