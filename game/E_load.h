// Level loading: the intro card, the three map files, and the object tables built from them.
#pragma once

#include <array>
#include <string>
#include <string_view>

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
// Called by main before test-play: reads the map set whose tile file is tilePath (with ".1" and
// ".2" beside it) without touching the game; returns what makes it unplayable, or "" when it
// loads.
std::string LevelSetProblem(const std::string& tilePath);

}  // namespace zorvik
