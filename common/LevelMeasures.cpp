// SPDX-License-Identifier: GPL-3.0-or-later
// Counts a level's used cells row by row and finds its stars.
#include "LevelMeasures.h"

namespace zorvik::levelrules {

namespace {

constexpr int kStar = 40;
constexpr int kBonus = 51;
constexpr int kBigBonus = 52;

}  // namespace

LevelMeasures MeasureLevel(const Layer& tiles, const Layer& items) {
    LevelMeasures m;
    for (int row = 1; row <= kRows; ++row) {
        for (int column = 1; column <= kColumns; ++column) {
            const int item = CellAt(items, column, row);
            const bool stoneAbove = row < kRows && IsStoneCode(CellAt(items, column, row + 1));
            if (CellAt(tiles, column, row) != 0 || item != 0 || stoneAbove) {
                ++m.usedCells;
                if (row <= kUpperRows) ++m.usedInUpperRows;
            }
            if (item == kStar) {
                ++m.stars;
                if (m.highestStarRow == 0) m.highestStarRow = row;
            }
            if (item == kBonus) ++m.bonuses;
            if (item == kBigBonus) ++m.bigBonuses;
        }
    }
    return m;
}

}  // namespace zorvik::levelrules
