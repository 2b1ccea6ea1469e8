// SPDX-License-Identifier: GPL-3.0-or-later
// The readable source form of a level: one character per map cell with a legend, plus an
// optional grid of digits for link numbers and enemy speeds. Compiled into the three map files.
// Layout: "name: ..." and comment lines starting with '#', then "[map]" followed by exactly 18
// rows of 50 characters, then optionally "[extra]" followed by 18 rows of digits and dots.
// The legend and the rules a level must keep are listed in levels/README.md.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "LevelRules.h"

namespace zorvik::levels {

constexpr int kColumns = 50;
constexpr int kRows = 18;

// The three layers of one level, columns 1..50 and rows 1..18 (index [row-1][col-1]).
struct LevelLayers {
    std::array<std::array<int, kColumns>, kRows> tiles{};
    std::array<std::array<int, kColumns>, kRows> solid{};
    std::array<std::array<int, kColumns>, kRows> items{};
};

struct CompiledLevel {
    std::string name;
    LevelLayers layers;
    std::vector<std::string> errors;  // empty when the level is sound
};

// Parses and checks a level source. Every problem found is listed in errors with its line and
// column; the layers hold what could be read.
CompiledLevel CompileLevelSource(const std::string& text);

// The three file texts (tile, solidity, object layer), 18 lines of 150 characters + CR LF.
std::array<std::string, 3> MapFileTexts(const LevelLayers& layers);

// One layer as the shared level rules and measures read it: row by row from the top.
levelrules::Layer Flatten(const std::array<std::array<int, kColumns>, kRows>& grid);

// The legend: the character that stands for a tile code, or 0 if none.
char TileChar(int tile);

}  // namespace zorvik::levels
