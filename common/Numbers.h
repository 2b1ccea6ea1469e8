// SPDX-License-Identifier: GPL-3.0-or-later
// Number conversions both programs share: rounding to nearest with ties to even, and reading a
// number from text the way the map reader does.
#pragma once

#include <cmath>
#include <cstdint>
#include <string_view>

namespace zorvik {

// Nearest integer, ties to the even one (0.5 -> 0, 1.5 -> 2, 2.5 -> 2, -0.5 -> 0).
double RoundHalfEven(double value);

// Throws std::overflow_error naming the value and the range it missed.
[[noreturn]] void ThrowOutOfRange(double value, int bits);

// Rounds to nearest (ties to even) and checks that the result fits a 16-bit signed integer;
// throws std::overflow_error otherwise, as the original language's conversion would fail. Inline:
// the game converts this way several times a frame.
inline int16_t ToInt16(double value) {
    const double r = std::nearbyint(value);  // to nearest even, the default rounding mode
    if (!(r >= -32768.0 && r <= 32767.0)) ThrowOutOfRange(value, 16);
    return static_cast<int16_t>(r);
}
// The same for 32-bit signed integers.
inline int32_t ToInt32(double value) {
    const double r = std::nearbyint(value);
    if (!(r >= -2147483648.0 && r <= 2147483647.0)) ThrowOutOfRange(value, 32);
    return static_cast<int32_t>(r);
}

// The greatest integer not above `value`, which must lie within int's range: the truncation,
// one less when it rounded a negative value up. Cheaper than std::floor on a baseline x86-64,
// and the enemies work out their cells this way every frame.
inline int FloorToInt(double value) {
    const int t = static_cast<int>(value);
    return t > value ? t - 1 : t;
}

// Reads a decimal number from text: leading blanks are skipped, the longest numeric prefix
// (sign, digits, one decimal point, exponent) is taken, and text with no number in front
// reads as 0.
double ReadNumber(std::string_view text);

}  // namespace zorvik
