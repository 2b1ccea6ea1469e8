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

double CellValue(std::string_view line, int column) {
    const size_t start = static_cast<size_t>(3 * column - 3);
    if (column < 1 || start >= line.size()) return 0.0;
    return RoundHalfEven(ReadNumber(line.substr(start, 3)));
}

std::optional<std::string> FormatCell(long value) {
    if (!CellFits(value)) return std::nullopt;
    std::string text = std::to_string(value);
    while (text.size() < 3) text.insert(text.begin(), '0');
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
