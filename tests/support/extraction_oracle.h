// Reads the same text with ItemScanner and with formatted stream extraction
// from an istringstream, item by item, and names the first difference: in
// whether a read succeeds, in the value's bits, or in whether the item ends
// cleanly afterwards.
#pragma once

#include <bit>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "input/item_scanner.h"

namespace qlor::testing {

/// Each character of `ops` is one read: 'd' a double, 'i' a 32-bit int.
/// Returns "" when both readers agree at every step.
inline std::string first_extraction_difference(std::string_view text,
                                               std::string_view ops) {
  std::istringstream stream{std::string(text)};
  ItemScanner items(text);
  for (std::size_t k = 0; k < ops.size(); ++k) {
    bool stream_ok = false;
    bool items_ok = false;
    std::uint64_t stream_bits = 0;
    std::uint64_t items_bits = 0;
    if (ops[k] == 'i') {
      std::int32_t a = 0;
      std::int32_t b = 0;
      stream_ok = static_cast<bool>(stream >> a);
      items_ok = items.read(b);
      stream_bits = static_cast<std::uint32_t>(a);
      items_bits = static_cast<std::uint32_t>(b);
    } else {
      double a = 0;
      double b = 0;
      stream_ok = static_cast<bool>(stream >> a);
      items_ok = items.read(b);
      stream_bits = std::bit_cast<std::uint64_t>(a);
      items_bits = std::bit_cast<std::uint64_t>(b);
    }
    const int next = stream.peek();
    const bool stream_clean = next == std::char_traits<char>::eof() ||
                              next == ' ' || next == '\t' || next == '\r' ||
                              next == '\n';
    std::string step = "read " + std::to_string(k) + " ('" + ops[k] + "'): ";
    if (stream_ok != items_ok) {
      return step + "stream " + (stream_ok ? "reads" : "fails") + ", scanner " +
             (items_ok ? "reads" : "fails");
    }
    if (!stream_ok) return {};  // both failed: every later read fails too
    if (stream_bits != items_bits) {
      return step + "values differ (bits " + std::to_string(stream_bits) +
             " and " + std::to_string(items_bits) + ")";
    }
    if (stream_clean != items.item_ends_cleanly()) {
      return step + "the item ends differently";
    }
  }
  return {};
}

}  // namespace qlor::testing
