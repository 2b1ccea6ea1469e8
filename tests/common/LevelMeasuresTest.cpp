// SPDX-License-Identifier: GPL-3.0-or-later
// How a level's use of its map is measured: used cells by row, stones, stars and bonuses.
#include <gtest/gtest.h>

#include "LevelMeasures.h"

namespace zorvik::levelrules {
namespace {

TEST(LevelMeasures, CountsUsedCellsAboveRowElevenStonesAndTheTopmostStar) {
    Layer tiles(kCells, 0), items(kCells, 0);
    auto put = [](Layer& layer, int column, int row, int value) {
        layer[static_cast<size_t>(CellIndex(column, row))] = value;
    };
    for (int column = 1; column <= kColumns; ++column)
        put(tiles, column, 18, 2);  // a floor: 50 cells below row 10
    put(tiles, 5, 10, 1);           // a block in row 10: upper
    put(items, 6, 18, 20);          // a stone resting on the floor: its own cell is row 17
    put(tiles, 7, 3, 4);            // decoration counts as used too
    put(items, 8, 9, 40);           // stars in rows 9 and 12
    put(items, 8, 12, 40);
    put(items, 9, 11, 51);
    put(items, 9, 2, 52);
    const LevelMeasures m = MeasureLevel(tiles, items);
    EXPECT_EQ(m.usedCells, 50 + 1 + 1 + 1 + 2 + 1 + 1);
    EXPECT_EQ(m.usedInUpperRows, 4);
    EXPECT_DOUBLE_EQ(m.UpperShare(), 400.0 / 57);
    EXPECT_EQ(m.stars, 2);
    EXPECT_EQ(m.highestStarRow, 9);
    EXPECT_EQ(m.bonuses, 1);
    EXPECT_EQ(m.bigBonuses, 1);

    const LevelMeasures empty = MeasureLevel(Layer(kCells, 0), Layer(kCells, 0));
    EXPECT_EQ(empty.highestStarRow, 0);
    EXPECT_EQ(empty.UpperShare(), 0.0);
}

}  // namespace
}  // namespace zorvik::levelrules
