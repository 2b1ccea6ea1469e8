// SPDX-License-Identifier: GPL-3.0-or-later
// Level loading: the intro card, the three map files, and the object tables built from them.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zorvik {

// Called by Form_Load before each level loop, by the level exit and by the pause
// menu's restart: intro card, wait for Space, then ReadLevelMap.
void LoadLevel();
// Called by LoadLevel: reads level levelNumber's map files into the layers and tables.
// Throws std::runtime_error naming the file when one is missing or short.
void ReadLevelMap();
// Called by ReadLevelMap: fills the layers and tables from the text of the tile, solidity and
// object files; `names` name them in the errors. Throws std::runtime_error naming the file
// when one is short or a cell does not fit its layer.
void ParseLevelMap(const std::array<std::string_view, 3>& layers,
                   const std::array<std::string, 3>& names);
// The platform cells (tile 14 or 15, either sign) of the map ParseLevelMap read last, row by
// row: the tiles of a running level change only between those codes.
const std::vector<std::pair<int, int>>& PlatformCells();
// Called by main before test-play: reads the map set whose tile file is tilePath (with ".1" and
// ".2" beside it) and, when it loads, keeps its text in testLevelLayers for every start of the
// level, so the run no longer needs the files (the editor removes its test-play folder when it
// quits), and sets testLevelPath. Returns what makes the set unplayable, or "" when it loads.
std::string OpenTestLevelSet(const std::string& tilePath);

}  // namespace zorvik
