// SPDX-License-Identifier: GPL-3.0-or-later
// A level built cell by cell in a test and written as the three map files of a level number
// into a temporary game folder.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "GameHarness.h"
#include "MapText.h"

namespace zorvik::test {

struct TestLevel {
    // [row 1..18][column 1..50]; index 0 unused.
    using Layer = std::array<std::array<long, 51>, 19>;
    Layer tiles{};
    Layer solid{};
    Layer items{};

    // Solid ground drawn with tile 1 from `row` down to the bottom, over the given columns.
    void Ground(int row, int fromCol = 1, int toCol = 50) {
        for (int r = row; r <= 18; ++r) {
            for (int c = fromCol; c <= toCol; ++c) {
                tiles[r][c] = r == row ? 1 : 2;
                solid[r][c] = 1;
            }
        }
    }
    // Empties the columns from `row` down to the bottom: a pit.
    void Pit(int row, int fromCol, int toCol) {
        for (int r = row; r <= 18; ++r) {
            for (int c = fromCol; c <= toCol; ++c) {
                tiles[r][c] = 0;
                solid[r][c] = 0;
            }
        }
    }

    static std::string Text(const Layer& layer) {
        std::string text;
        for (int r = 1; r <= 18; ++r) {
            std::vector<long> values(layer[r].begin() + 1, layer[r].end());
            text += maptext::FormatLine(values).value() + "\r\n";
        }
        return text;
    }

    void Write(TempGameDir& dir, int number) const {
        const std::string base = "map/mapa" + std::to_string(number) + ".map";
        dir.Write(base, Text(tiles));
        dir.Write(base + ".1", Text(solid));
        dir.Write(base + ".2", Text(items));
    }
};

}  // namespace zorvik::test
