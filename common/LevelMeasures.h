// SPDX-License-Identifier: GPL-3.0-or-later
// How a level uses its map: how many cells hold a tile or an object, how many of them lie in
// the upper rows, and its stars and bonuses. Read from the same three layers as the layout
// rules; used by the level compiler's table and the campaign's checks.
#pragma once

#include "LevelRules.h"

namespace zorvik::levelrules {

// Rows 1..kUpperRows are the upper part of the map, above the usual ground.
constexpr int kUpperRows = 10;

struct LevelMeasures {
    int usedCells = 0;        // cells holding a tile or an object (a stone counts its own cell)
    int usedInUpperRows = 0;  // those of them in rows 1..kUpperRows
    int stars = 0;            // small stars (100)
    int bonuses = 0;          // 500
    int bigBonuses = 0;       // 2500
    int highestStarRow = 0;   // the topmost row holding a small star; 0 without stars

    // The share of the used cells that lie in the upper rows, in percent.
    double UpperShare() const { return usedCells == 0 ? 0.0 : 100.0 * usedInUpperRows / usedCells; }
};

LevelMeasures MeasureLevel(const Layer& tiles, const Layer& items);

}  // namespace zorvik::levelrules
