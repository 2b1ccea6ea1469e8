// Counts a level's used cells row by row and finds its stars.
#include "LevelMeasures.h"

namespace zorvik::levelrules {

namespace {

constexpr int kStar = 40;
constexpr int kBonus = 51;
constexpr int kBigBonus = 52;

int At(const Layer& layer, int column, int row) {
    const auto index = static_cast<size_t>(CellIndex(column, row));
    return index < layer.size() ? layer[index] : 0;
}

// A stone's code marks the cell it rests on; the stone itself is in the cell above.
bool IsStoneMark(int item) {
    return item >= 20 && item <= 39;
}

}  // namespace

LevelMeasures MeasureLevel(const Layer& tiles, const Layer& items) {
    LevelMeasures m;
    for (int row = 1; row <= kRows; ++row) {
        for (int column = 1; column <= kColumns; ++column) {
            const int item = At(items, column, row);
            const bool stoneAbove = row < kRows && IsStoneMark(At(items, column, row + 1));
            if (At(tiles, column, row) != 0 || item != 0 || stoneAbove) {
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
