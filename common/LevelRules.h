// SPDX-License-Identifier: GPL-3.0-or-later
// The game's limits on a level's layout beyond the object counts: an exit or goal, board
// numbering, housing positions, platform links, stones and gate cells. Shared by the editor's
// level check and the level compiler; no Qt, no I/O.
#pragma once

#include <string>
#include <vector>

namespace zorvik::levelrules {

constexpr int kColumns = 50;
constexpr int kRows = 18;
constexpr int kCells = kColumns * kRows;
// The game's board table has entries for link numbers 0..19; boards are numbered from 1.
constexpr int kMaxBoards = 19;
// A housing's gate occupies the three rows above it.
constexpr int kGateHeight = 3;

// One layer of the map: kCells values, row by row from the top, columns 1..50 in each row.
// Cells beyond the end of a shorter vector read as 0.
using Layer = std::vector<int>;

// Index of (column 1..50, row 1..18) in a Layer.
constexpr int CellIndex(int column, int row) {
    return (row - 1) * kColumns + (column - 1);
}

// The value of (column, row) in a layer; 0 beyond the end of a shorter layer.
inline int CellAt(const Layer& layer, int column, int row) {
    const auto index = static_cast<size_t>(CellIndex(column, row));
    return index < layer.size() ? layer[index] : 0;
}

// Object codes 20..39 are stones; a stone's code marks the cell it rests on.
constexpr bool IsStoneCode(int item) {
    return item >= 20 && item <= 39;
}

enum class FindingKind {
    NoExitOrGoal,            // no object 997 and no 900 anywhere; column, row, value 0
    TooManyBoards,           // value: the number of housings (more than kMaxBoards)
    BoardNumberOutside,      // a housing whose link number (value) is not 1..number of boards
    BoardNumberTwice,        // a second housing with the same link number (value)
    HousingTooHigh,          // a housing above row 4 (its gate leaves the map); value: link
    PlatformWithoutHousing,  // a platform whose link number (value) no housing carries
    HousingWithoutPlatform,  // a housing whose link number (value) no platform carries
    StoneInTopRow,           // a stone code (value) in row 1: the stone would start above the map
    GateCellBlocked,         // a gate cell that holds something solid; value: its tile code
};

struct Finding {
    FindingKind kind;
    int column = 0;  // 1..50, or 0 when the finding is about the whole level
    int row = 0;     // 1..18, or 0
    int value = 0;

    bool operator==(const Finding&) const = default;
};

// Every finding, rule by rule in the order of FindingKind, and within a rule cell by cell,
// row by row from the top.
std::vector<Finding> CheckLevel(const Layer& tiles, const Layer& solid, const Layer& items);

// A one-line Czech description of a finding for the designer (ASCII, like the editor's
// other messages).
std::string FindingText(const Finding& finding);

}  // namespace zorvik::levelrules
