// Level loading: the intro card, the three map files, and the object tables built from them.
#pragma once

namespace zorvik {

// Called by Form_Load before each level loop, by the level exit and by the pause
// menu's restart: intro card, wait for Space, then ReadLevelMap.
void LoadLevel();
// Called by LoadLevel: reads level levelNumber's map files into the layers and tables.
// Throws std::runtime_error naming the file when one is missing or short.
void ReadLevelMap();

}  // namespace zorvik
