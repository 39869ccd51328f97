// The scanner against formatted stream extraction, on the items a sample
// file may hold and on random text from the characters that matter.
#include "input/item_scanner.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "extraction_oracle.h"

namespace qlor {
namespace {

using testing::first_extraction_difference;

TEST(ItemScanner, ReadsEveryItemAsStreamExtractionDoes) {
  struct Case {
    const char* text;
    const char* ops;
  };
  const Case cases[] = {
      // Plain records, separators and line ends of every kind.
      {"12.5 7.25 1\n3 4 0\r\n", "ddiddi"},
      {"  \t\v\f\r\n 5\t6", "dd"},
      {"", "d"},
      {"   \n", "i"},
      // Signs, points and exponents.
      {"+1.5 -2.5 -0 +0 -0.0", "ddddd"},
      {"1. .5 . -. +. 0.", "dddddd"},
      {"1e5 1E+5 1e-5 2.5e3x 1e 1e+ 1e- 1e.5", "dddddddd"},
      {"e5 .e5 -e5", "ddd"},
      {"1.5.3 1e5e3 1..2", "dddddd"},
      {"0005 -000.25 00e3 0x1A", "dddd"},
      // Out of range: overflow fails, underflow reads a subnormal or zero.
      {"1e308 1e309 -1e400 1e-310 1e-400 4.9e-324 2.4e-324", "ddddddd"},
      {"179769313486231570000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000"
       "00 1",
       "dd"},
      // Halfway cases and long mantissas round as strtod rounds.
      {"9007199254740993 0.1000000000000000055511151231257827021181583404541"
       "015625 2.2250738585072011e-308",
       "ddd"},
      // No inf, nan or hexadecimal.
      {"inf nan 0x10 infinity", "d"},
      {"0x10", "dd"},
      // Integers: signs, leading zeros, points and the int's range.
      {"0 1 -1 +1 007 -0", "iiiiii"},
      {"1.0 2", "iddi"},
      {"2147483647 -2147483648", "ii"},
      {"2147483648", "i"},
      {"-2147483649", "i"},
      {"9223372036854775807", "i"},
      {"99999999999999999999999", "i"},
      {"- + 1", "i"},
      {"0x1 5", "ii"},
      {"1e3 4", "ii"},
      // Items after a failed one are never read.
      {"a 1 2", "ddd"},
      {"1 b 2", "did"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(first_extraction_difference(c.text, c.ops), "");
  }
}

TEST(ItemScanner, AgreesWithStreamExtractionOnRandomText) {
  // Digits, signs, points, exponents, separators and a few strangers.
  const std::string alphabet = "0123456789000111+-.eE   \t\n\rx,";
  std::mt19937 gen(20261210);
  std::uniform_int_distribution<std::size_t> length(0, 24);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> kind(0, 3);
  for (int trial = 0; trial < 20000; ++trial) {
    std::string text(length(gen), ' ');
    for (char& ch : text) ch = alphabet[pick(gen)];
    std::string ops(8, 'd');
    for (char& op : ops) op = kind(gen) == 0 ? 'i' : 'd';
    const std::string difference = first_extraction_difference(text, ops);
    ASSERT_EQ(difference, "") << "text \"" << text << "\", reads " << ops;
  }
}

TEST(ItemScanner, ReadsTheRestOfAStreamFromItsPosition) {
  std::string long_text(200000, '7');
  long_text += " tail";
  for (const std::string& text : {std::string("head 1 2 3"), long_text}) {
    std::istringstream in(text);
    std::string first;
    in >> first;
    EXPECT_EQ(read_rest(in), text.substr(first.size()));
  }
  std::istringstream done("");
  done.get();  // at the end, in its fail state
  EXPECT_EQ(read_rest(done), "");
}

}  // namespace
}  // namespace qlor
