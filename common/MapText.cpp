// SPDX-License-Identifier: GPL-3.0-or-later
// Reading and writing the cells of a map layer's text.
#include "MapText.h"

#include "Numbers.h"

namespace zorvik::maptext {

std::vector<std::string> ReadLines(std::istream& in, int maxLines) {
    std::vector<std::string> lines;
    std::string line;
    while (static_cast<int>(lines.size()) < maxLines && std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t comma = line.find(',');
        if (comma != std::string::npos) line.resize(comma);
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string_view> SplitLines(std::string_view text, int maxLines) {
    std::vector<std::string_view> lines;
    // As std::getline reads them: the text after the last line end is a line when not empty.
    while (static_cast<int>(lines.size()) < maxLines && !text.empty()) {
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        line = line.substr(0, line.find(','));
        lines.push_back(line);
    }
    return lines;
}

files::ReadResult ReadLayerFile(const std::string& path) {
    return files::ReadRegularFile(path, kMaxFileBytes);
}

double CellValue(std::string_view line, int column) {
    const size_t start = static_cast<size_t>(3 * column - 3);
    if (column < 1 || start >= line.size()) return 0.0;
    const std::string_view cell = line.substr(start, 3);
    // The usual cell, blanks and a sign before digits only, is a whole number as it stands;
    // anything else (a point, an exponent, text) goes through the full number reader.
    size_t i = 0;
    while (i < cell.size() && (cell[i] == ' ' || cell[i] == '\t'))
        ++i;
    const bool negative = i < cell.size() && cell[i] == '-';
    if (i < cell.size() && (cell[i] == '-' || cell[i] == '+')) ++i;
    if (i == cell.size()) return RoundHalfEven(ReadNumber(cell));
    int value = 0;
    for (; i < cell.size(); ++i) {
        if (cell[i] < '0' || cell[i] > '9') return RoundHalfEven(ReadNumber(cell));
        value = value * 10 + (cell[i] - '0');
    }
    return negative ? -value : value;
}

std::optional<std::string> FormatCell(long value) {
    if (!CellFits(value)) return std::nullopt;
    std::string text = std::to_string(value);
    while (text.size() < 3)
        text.insert(text.begin(), '0');
    return text;
}

std::optional<std::string> FormatLine(const std::vector<long>& values) {
    std::string line;
    line.reserve(values.size() * 3);
    for (long value : values) {
        const auto cell = FormatCell(value);
        if (!cell) return std::nullopt;
        line += *cell;
    }
    return line;
}

}  // namespace zorvik::maptext
