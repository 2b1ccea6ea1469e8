// SPDX-License-Identifier: GPL-3.0-or-later
// Rounding, number reading and map-cell text shared by both programs.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "CommaLocale.h"
#include "MapText.h"
#include "Numbers.h"

namespace zorvik {
namespace {

TEST(Numbers, RoundsHalfToEven) {
    EXPECT_EQ(RoundHalfEven(0.5), 0.0);
    EXPECT_EQ(RoundHalfEven(1.5), 2.0);
    EXPECT_EQ(RoundHalfEven(2.5), 2.0);
    EXPECT_EQ(RoundHalfEven(-0.5), 0.0);
    EXPECT_EQ(RoundHalfEven(-1.5), -2.0);
    EXPECT_EQ(RoundHalfEven(36.5), 36.0);
    EXPECT_EQ(RoundHalfEven(37.5), 38.0);
    EXPECT_EQ(RoundHalfEven(50.4), 50.0);
}

TEST(Numbers, FloorToIntRoundsDownOnBothSidesOfZero) {
    for (const double v : {0.0, -0.0, 0.25, -0.25, 1.0, -1.0, 72.999, -73.5, -74.0, 1e9, -1e9})
        EXPECT_EQ(FloorToInt(v), static_cast<int>(std::floor(v))) << v;
}

TEST(Numbers, ConversionToInt16FailsOutsideItsRange) {
    EXPECT_EQ(ToInt16(32767.4), 32767);
    EXPECT_EQ(ToInt16(-32768.0), -32768);
    EXPECT_THROW(ToInt16(32767.6), std::overflow_error);
    EXPECT_THROW(ToInt16(-40000), std::overflow_error);
}

TEST(Numbers, ReadsTheNumericPrefixLikeTheMapReader) {
    EXPECT_EQ(ReadNumber("018"), 18.0);
    EXPECT_EQ(ReadNumber("   "), 0.0);
    EXPECT_EQ(ReadNumber(""), 0.0);
    EXPECT_EQ(ReadNumber("  7x"), 7.0);
    EXPECT_EQ(ReadNumber("abc"), 0.0);
    EXPECT_EQ(ReadNumber("2.5"), 2.5);
    EXPECT_EQ(ReadNumber("-12"), -12.0);
    EXPECT_EQ(ReadNumber("0-5"), 0.0);
    EXPECT_EQ(ReadNumber("-"), 0.0);
    EXPECT_EQ(ReadNumber("1e2"), 100.0);
    EXPECT_EQ(ReadNumber("1e"), 1.0);
    EXPECT_EQ(ReadNumber("1e999"), 0.0);  // not finite: no number
}

TEST(Numbers, ReadsADecimalPointUnderACommaLocale) {
    const test::CommaLocale czech;
    if (!czech.Active()) GTEST_SKIP() << "the locale cs_CZ.UTF-8 is not installed";
    EXPECT_EQ(ReadNumber("3.5"), 3.5);
    EXPECT_EQ(ReadNumber(" +4.5e1x"), 45.0);
    EXPECT_EQ(ReadNumber("-.25"), -0.25);
    EXPECT_EQ(ReadNumber("3,5"), 3.0);  // the comma ends the number, as everywhere
    EXPECT_EQ(maptext::CellValue("3.5", 1), 4.0);
    try {
        ToInt16(40000.5);
        ADD_FAILURE() << "40000.5 does not fit 16 bits";
    } catch (const std::overflow_error& e) {
        EXPECT_STREQ(e.what(), "number out of the 16-bit range: 40000.5");
    }
}

TEST(MapText, ReadsCellsByPositionAndShortLinesAsZero) {
    std::string line;
    for (int k = 1; k <= 30; ++k)
        line += *maptext::FormatCell(k);
    EXPECT_EQ(maptext::CellValue(line, 1), 1.0);
    EXPECT_EQ(maptext::CellValue(line, 30), 30.0);
    EXPECT_EQ(maptext::CellValue(line, 31), 0.0);
    EXPECT_EQ(maptext::CellValue("   018", 1), 0.0);
    EXPECT_EQ(maptext::CellValue("   018", 2), 18.0);
    EXPECT_EQ(maptext::CellValue("02", 1), 2.0);  // a partial last cell still reads
}

TEST(MapText, FormatsCellsZeroPaddedAndRefusesWhatDoesNotFit) {
    EXPECT_EQ(maptext::FormatCell(0), "000");
    EXPECT_EQ(maptext::FormatCell(18), "018");
    EXPECT_EQ(maptext::FormatCell(999), "999");
    EXPECT_EQ(maptext::FormatCell(-5), "0-5");
    EXPECT_EQ(maptext::FormatCell(-12), "-12");
    EXPECT_FALSE(maptext::FormatCell(1000));
    EXPECT_FALSE(maptext::FormatCell(-100));
    EXPECT_EQ(maptext::CellValue("0-5", 1), 0.0);
    EXPECT_EQ(maptext::CellValue("-12", 1), -12.0);
}

TEST(MapText, ReadsLinesWithEitherLineEndAndStopsAtAComma) {
    std::istringstream in("001002\r\n003,004\nlast");
    const auto lines = maptext::ReadLines(in, 18);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "001002");
    EXPECT_EQ(lines[1], "003");
    EXPECT_EQ(lines[2], "last");
    std::istringstream many("a\nb\nc\n");
    EXPECT_EQ(maptext::ReadLines(many, 2).size(), 2u);
}

// The readers parse text held in memory; its lines must be the ones the stream reader gives.
TEST(MapText, SplitsTextIntoTheSameLinesAsTheStreamReader) {
    const std::string texts[] = {
        "001002\r\n003,004\nlast",   "a\nb\nc\n", "", "\n", "\r\n\r\n", "x\n\ny", ",\r,\n",
        std::string("n\0ul\r\n", 7), "\r\r\nz",
    };
    for (const std::string& text : texts) {
        for (const int limit : {2, 18}) {
            std::istringstream in(text);
            const std::vector<std::string> expected = maptext::ReadLines(in, limit);
            const std::vector<std::string_view> lines = maptext::SplitLines(text, limit);
            EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.end()), expected)
                << "text \"" << text << "\", at most " << limit << " lines";
        }
    }
}

}  // namespace
}  // namespace zorvik
