// SPDX-License-Identifier: GPL-3.0-or-later
// The layout rules a playable level must follow, checked cell by cell.
#include "LevelRules.h"

#include <map>
#include <set>

namespace zorvik::levelrules {

namespace {

constexpr int kPlatform = 14;
constexpr int kHousing = 18;
constexpr int kGoal = 900;
constexpr int kExit = 997;

std::string Where(const Finding& f) {
    return " (sloupec " + std::to_string(f.column) + ", radek " + std::to_string(f.row) + ")";
}

}  // namespace

std::vector<Finding> CheckLevel(const Layer& tiles, const Layer& solid, const Layer& items) {
    struct Cell {
        int column;
        int row;
        int link;
    };
    std::vector<Cell> housings;
    std::vector<Cell> platforms;
    bool exitOrGoal = false;
    for (int row = 1; row <= kRows; ++row) {
        for (int column = 1; column <= kColumns; ++column) {
            const int tile = CellAt(tiles, column, row);
            const int item = CellAt(items, column, row);
            if (item == kExit || item == kGoal) exitOrGoal = true;
            if (tile == kHousing) housings.push_back({column, row, item});
            if (tile == kPlatform) platforms.push_back({column, row, item});
        }
    }

    std::vector<Finding> findings;
    if (!exitOrGoal) findings.push_back({FindingKind::NoExitOrGoal, 0, 0, 0});

    const int boards = static_cast<int>(housings.size());
    if (boards > kMaxBoards) findings.push_back({FindingKind::TooManyBoards, 0, 0, boards});
    for (const Cell& h : housings) {
        if (h.link < 1 || h.link > boards) {
            findings.push_back({FindingKind::BoardNumberOutside, h.column, h.row, h.link});
        }
    }
    std::set<int> seen;
    for (const Cell& h : housings) {
        if (!seen.insert(h.link).second) {
            findings.push_back({FindingKind::BoardNumberTwice, h.column, h.row, h.link});
        }
    }
    for (const Cell& h : housings) {
        if (h.row <= kGateHeight) {
            findings.push_back({FindingKind::HousingTooHigh, h.column, h.row, h.link});
        }
    }

    std::set<int> housingLinks;
    for (const Cell& h : housings)
        housingLinks.insert(h.link);
    std::set<int> platformLinks;
    for (const Cell& p : platforms)
        platformLinks.insert(p.link);
    for (const Cell& p : platforms) {
        if (!housingLinks.contains(p.link)) {
            findings.push_back({FindingKind::PlatformWithoutHousing, p.column, p.row, p.link});
        }
    }
    for (const Cell& h : housings) {
        if (!platformLinks.contains(h.link)) {
            findings.push_back({FindingKind::HousingWithoutPlatform, h.column, h.row, h.link});
        }
    }

    for (int column = 1; column <= kColumns; ++column) {
        const int item = CellAt(items, column, 1);
        if (IsStoneCode(item)) findings.push_back({FindingKind::StoneInTopRow, column, 1, item});
    }

    // The board makes its gate cells solid and passable in turn, so what is drawn there
    // must not be a wall of its own. Gate cells are reported once even when two housings
    // share them.
    std::set<std::pair<int, int>> gateCells;
    for (const Cell& h : housings) {
        for (int row = h.row - kGateHeight; row < h.row; ++row) {
            if (row >= 1) gateCells.insert({row, h.column});
        }
    }
    for (const auto& [row, column] : gateCells) {
        const int tile = CellAt(tiles, column, row);
        const bool empty = tile == 0 && CellAt(items, column, row) == 0;
        const bool passable = CellAt(solid, column, row) == 0;
        if (!empty && !passable) {
            findings.push_back({FindingKind::GateCellBlocked, column, row, tile});
        }
    }
    return findings;
}

std::string FindingText(const Finding& f) {
    const std::string value = std::to_string(f.value);
    switch (f.kind) {
        case FindingKind::NoExitOrGoal:
            return "Level nema vychod (997) ani cil hry (900)";
        case FindingKind::TooManyBoards:
            return "V levelu je " + value + " prken, hra jich unese nejvice " +
                   std::to_string(kMaxBoards);
        case FindingKind::BoardNumberOutside:
            return "Prkno" + Where(f) + " ma cislo " + value +
                   ", prkna musi mit cisla 1 az pocet prken bez mezer";
        case FindingKind::BoardNumberTwice:
            return "Prkno" + Where(f) + " ma stejne cislo " + value + " jako jine prkno";
        case FindingKind::HousingTooHigh:
            return "Prkno" + Where(f) + " je nad 4. radkem, jeho brana se do mapy nevejde";
        case FindingKind::PlatformWithoutHousing:
            return "Plosinka" + Where(f) + " ma cislo " + value + ", ale zadne prkno ho nema";
        case FindingKind::HousingWithoutPlatform:
            return "Na prkno" + Where(f) + " s cislem " + value + " nevede zadna plosinka";
        case FindingKind::StoneInTopRow:
            return "Kamen" + Where(f) + " je v hornim radku, nad nim neni misto";
        case FindingKind::GateCellBlocked:
            return "Pole brany" + Where(f) + " nad prknem neni prazdne ani pruchozi";
    }
    return {};
}

}  // namespace zorvik::levelrules
