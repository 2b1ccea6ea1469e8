// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing a map set held in memory.
#include "MapFile.h"

#include <string>
#include <vector>

#include "MapText.h"

namespace zorvik::editor {

bool ParseLayer(std::string_view text, MapLayer& into) {
    const std::vector<std::string_view> lines = maptext::SplitLines(text, kLastRow);
    if (static_cast<int>(lines.size()) < kLastRow) return false;
    for (int row = 1; row <= kLastRow; ++row) {
        for (int col = 1; col <= kLastCol; ++col) {
            // Three characters can still spell a number beyond 16 bits ("9e9").
            const double value = maptext::CellValue(lines[static_cast<size_t>(row - 1)], col);
            if (value < -32768.0 || value > 32767.0) return false;
            into[col][row] = static_cast<int16_t>(value);
        }
    }
    return true;
}

bool ParseMapSet(const std::array<std::string_view, 3>& layers, MapLayer& tiles, MapLayer& solid,
                 MapLayer& items) {
    return ParseLayer(layers[0], tiles) && ParseLayer(layers[1], solid) &&
           ParseLayer(layers[2], items);
}

}  // namespace zorvik::editor
