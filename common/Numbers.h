// SPDX-License-Identifier: GPL-3.0-or-later
// Number conversions both programs share: rounding to nearest with ties to even, and reading a
// number from text the way the map reader does.
#pragma once

#include <cstdint>
#include <string_view>

namespace zorvik {

// Nearest integer, ties to the even one (0.5 -> 0, 1.5 -> 2, 2.5 -> 2, -0.5 -> 0).
double RoundHalfEven(double value);

// Rounds to nearest (ties to even) and checks that the result fits a 16-bit signed integer;
// throws std::overflow_error otherwise, as the original language's conversion would fail.
int16_t ToInt16(double value);
// The same for 32-bit signed integers.
int32_t ToInt32(double value);

// Reads a decimal number from text: leading blanks are skipped, the longest numeric prefix
// (sign, digits, one decimal point, exponent) is taken, and text with no number in front
// reads as 0.
double ReadNumber(std::string_view text);

}  // namespace zorvik
