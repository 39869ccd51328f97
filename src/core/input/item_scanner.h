// Numbers of a sample data file read from text held in memory, item by item,
// exactly as formatted stream extraction in the classic locale reads them:
// the same characters are taken, the same items fail and the same values
// result. Records are read this way because stream extraction costs several
// times more per number, and the reading of a file is the serial start of
// every run.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>

namespace qlor {

/// Whether `c` ends an item: a blank, a tab or a line end. An integer item
/// that runs into anything else ("1.0", "19x") is no integer.
[[nodiscard]] inline bool ends_item(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

class ItemScanner {
 public:
  explicit ItemScanner(std::string_view text) : text_(text) {}

  /// `in >> v` for a double: white space skipped, then the longest run of
  /// sign, digits, one point and one exponent that extraction accepts. A
  /// failed item (no digits, an exponent without digits, overflow) fails
  /// this and every later read, as a stream's fail state does.
  [[nodiscard]] bool read(double& v);

  /// `in >> v` for a 32-bit int: decimal digits after an optional sign;
  /// values beyond the type's range fail.
  [[nodiscard]] bool read(std::int32_t& v);

  /// Whether the next character ends an item: a blank, a tab, a line end
  /// or the end of the text (`item_ends_cleanly` of a stream).
  [[nodiscard]] bool item_ends_cleanly() const;

 private:
  [[nodiscard]] bool skip_space();
  [[nodiscard]] bool at_end() const { return pos_ == text_.size(); }
  [[nodiscard]] char peek() const { return text_[pos_]; }

  std::string_view text_;
  std::size_t pos_ = 0;
  bool failed_ = false;
};

/// The rest of `in` from its position, read in blocks.
[[nodiscard]] std::string read_rest(std::istream& in);

}  // namespace qlor
