// The origin of a plot whose survey coordinates do not start at 0 (UTM or a
// local grid). Import moves the points to the plot's corner and keeps the
// offset in a small file beside the sample file ("plot1.origin"), so that
// patterns written out later can be given back in the survey's coordinates.
//
// The file is line-oriented: "x VALUE" and "y VALUE", each once, in any
// order; blank lines and lines starting with "#" are ignored.
#pragma once

#include <string>
#include <string_view>

#include "model/status.h"

namespace qlor {

inline constexpr const char* kOriginExtension = ".origin";

struct PlotOrigin {
  double x = 0;
  double y = 0;
  /// The decimals each was written with (-1: in exponent form).
  int x_decimals = 0;
  int y_decimals = 0;

  [[nodiscard]] bool zero() const { return x == 0 && y == 0; }
};

/// Digits after the decimal point of a number token: "12.50" gives 2, "7"
/// gives 0, and -1 for the exponent form, whose decimals are not counted.
[[nodiscard]] int decimal_places(std::string_view token);

/// a + b (or a - b) for decimal numbers written with up to `decimals`
/// digits after the point, rounded to them, so that 634512.37 - 634500
/// gives 12.37 rather than the nearest difference of the two doubles. A
/// negative `decimals` (or more than 9) adds the doubles as they are.
[[nodiscard]] double decimal_sum(double a, double b, int decimals);

/// The text of an origin file.
[[nodiscard]] std::string origin_file_text(const PlotOrigin& origin);

/// Reads the text of the origin file named `name` (for the messages).
/// Returns "" or a message naming the file and the line.
[[nodiscard]] Status parse_origin_file(const std::string& text,
                                       const std::string& name,
                                       PlotOrigin& origin);

/// Reads the origin file at `path` (the sample file's name with
/// kOriginExtension): the zero origin when there is no such file, else as
/// parse_origin_file reads it.
[[nodiscard]] Status read_plot_origin(const std::string& path,
                                      PlotOrigin& origin);

}  // namespace qlor
