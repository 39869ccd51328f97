#include "input/item_scanner.h"

#include <locale.h>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace qlor {

namespace {

// White space of the classic locale.
bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' ||
         c == '\r';
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// strtod in the C locale, whatever the process locale is (a window may
// have set the user's, with a decimal comma).
double strtod_c(const std::string& text) {
  static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
  return strtod_l(text.c_str(), nullptr, c_locale);
}

}  // namespace

bool ItemScanner::skip_space() {
  while (!at_end() && is_space(peek())) ++pos_;
  return !at_end();
}

bool ItemScanner::read(double& v) {
  if (failed_ || !skip_space()) return !(failed_ = true);
  const std::size_t start = pos_;
  if (peek() == '+' || peek() == '-') ++pos_;
  bool found_mantissa = false;
  bool found_dec = false;
  bool found_sci = false;
  bool exponent_digits = false;
  while (!at_end()) {
    const char c = peek();
    if (is_digit(c)) {
      found_mantissa = true;
      exponent_digits = found_sci;
    } else if (c == '.' && !found_dec && !found_sci) {
      found_dec = true;
    } else if ((c == 'e' || c == 'E') && !found_sci && found_mantissa) {
      found_sci = true;
      if (pos_ + 1 < text_.size() &&
          (text_[pos_ + 1] == '+' || text_[pos_ + 1] == '-')) {
        ++pos_;
      }
    } else {
      break;
    }
    ++pos_;
  }
  // Without a digit, or with an exponent that has none, the item is taken
  // but is no number.
  if (!found_mantissa || (found_sci && !exponent_digits)) {
    return !(failed_ = true);
  }
  std::string_view item = text_.substr(start, pos_ - start);
  if (item.front() == '+') item.remove_prefix(1);
  const char* const last = item.data() + item.size();
  const auto [ptr, ec] = std::from_chars(item.data(), last, v);
  if (ec != std::errc() || ptr != last) {
    // Out of range: strtod gives the subnormal or zero of an underflow, and
    // infinity on overflow.
    v = strtod_c(std::string(item));
  }
  if (std::isinf(v)) return !(failed_ = true);
  return true;
}

bool ItemScanner::read(std::int32_t& v) {
  if (failed_ || !skip_space()) return !(failed_ = true);
  bool negative = false;
  if (peek() == '+' || peek() == '-') {
    negative = peek() == '-';
    ++pos_;
  }
  // Digits accumulate as a long does, then must fit the int.
  constexpr std::uint64_t kLongMax = std::numeric_limits<std::int64_t>::max();
  const std::uint64_t max = negative ? kLongMax + 1 : kLongMax;
  std::uint64_t result = 0;
  bool any_digit = false;
  bool overflow = false;
  for (; !at_end() && is_digit(peek()); ++pos_) {
    const auto digit = static_cast<std::uint64_t>(peek() - '0');
    any_digit = true;
    if (result > max / 10) {
      overflow = true;
    } else {
      result *= 10;
      overflow |= result > max - digit;
      result += digit;
    }
  }
  constexpr std::uint64_t kIntMax = std::numeric_limits<std::int32_t>::max();
  if (!any_digit || overflow || result > (negative ? kIntMax + 1 : kIntMax)) {
    return !(failed_ = true);
  }
  v = negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(result))
               : static_cast<std::int32_t>(result);
  return true;
}

bool ItemScanner::item_ends_cleanly() const {
  return failed_ || at_end() || ends_item(peek());
}

std::string read_rest(std::istream& in) {
  std::string text;
  char block[1 << 16];
  while (in) {
    in.read(block, sizeof block);
    text.append(block, static_cast<std::size_t>(in.gcount()));
  }
  return text;
}

}  // namespace qlor
