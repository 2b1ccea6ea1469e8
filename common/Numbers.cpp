// SPDX-License-Identifier: GPL-3.0-or-later
// Rounding and number reading shared by the game and the editor.
#include "Numbers.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string>

namespace zorvik {

double RoundHalfEven(double value) {
    // nearbyint honours the current rounding mode, which is to-nearest-even unless changed.
    return std::nearbyint(value);
}

namespace {

// The shortest text that reads back as value, with a decimal point whatever the locale.
std::string NumberText(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

}  // namespace

void ThrowOutOfRange(double value, int bits) {
    throw std::overflow_error("number out of the " + std::to_string(bits) +
                              "-bit range: " + NumberText(value));
}

double ReadNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    size_t end = i;
    if (end < text.size() && (text[end] == '+' || text[end] == '-')) ++end;
    bool digits = false;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
        ++end;
        digits = true;
    }
    if (end < text.size() && text[end] == '.') {
        size_t afterPoint = end + 1;
        while (afterPoint < text.size() && text[afterPoint] >= '0' && text[afterPoint] <= '9') {
            ++afterPoint;
            digits = true;
        }
        end = afterPoint;
    }
    if (!digits) return 0.0;
    // An exponent counts only when digits follow it.
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        size_t e = end + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        size_t expDigits = e;
        while (expDigits < text.size() && text[expDigits] >= '0' && text[expDigits] <= '9') {
            ++expDigits;
        }
        if (expDigits > e) end = expDigits;
    }
    // from_chars reads with a decimal point whatever the locale; it takes no plus sign.
    if (text[i] == '+') ++i;
    double value = 0.0;
    const std::from_chars_result read = std::from_chars(text.data() + i, text.data() + end, value);
    return read.ec == std::errc() && std::isfinite(value) ? value : 0.0;
}

}  // namespace zorvik
