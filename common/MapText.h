// SPDX-License-Identifier: GPL-3.0-or-later
// The text form of a map layer, shared by the game's loader and the editor: 18 lines of 50
// cells, each cell three characters (zero-padded decimal), lines ending in CR LF.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "RegularFile.h"

namespace zorvik::maptext {

constexpr int kColumns = 50;
constexpr int kRows = 18;
// Values that fit in a three-character cell.
constexpr int kMinCellValue = -99;
constexpr int kMaxCellValue = 999;

// Reads up to maxLines lines from a stream. A line is the text up to CR LF or LF; like the
// original reader, which took a line as one text field, a comma ends the line's text early.
std::vector<std::string> ReadLines(std::istream& in, int maxLines = kRows);
// The same lines cut from text held in memory; the views point into `text`.
std::vector<std::string_view> SplitLines(std::string_view text, int maxLines = kRows);

// The largest layer file either program reads: 18 lines of 150 characters need 2 736 bytes;
// the rest leaves room for long lines and notes after the 18th line.
constexpr size_t kMaxFileBytes = 1 << 20;

// The whole text of a layer file: a regular file of at most kMaxFileBytes.
files::ReadResult ReadLayerFile(const std::string& path);

// The number in cell `column` (1..50) of a line: characters 3k-2..3k read as a number,
// rounded to nearest with ties to even; a cell beyond the end of a short line reads as 0.
double CellValue(std::string_view line, int column);

// Whether a value can be written in three characters (-99..999).
constexpr bool CellFits(long value) {
    return value >= kMinCellValue && value <= kMaxCellValue;
}

// The three-character text of a value: its decimal text left-padded with '0' (so -5 is
// "0-5"); std::nullopt when it does not fit.
std::optional<std::string> FormatCell(long value);

// One line of 50 cells without the line end; std::nullopt when a value does not fit.
std::optional<std::string> FormatLine(const std::vector<long>& values);

}  // namespace zorvik::maptext
