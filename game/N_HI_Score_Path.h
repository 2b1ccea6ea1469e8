// Which file holds the high-score table: the shipped data/012.dat where the player may write
// into data/, otherwise the player's own copy under $XDG_DATA_HOME/zorvik/.
#pragma once

#include <string>

namespace zorvik {

// Called by the high-score module before every read and write. When data/ is not writable, the
// player's copy is seeded from the shipped table the first time (under a lock, so two games
// starting at once seed it once); a seeding that fails leaves no file behind. Falls back to the
// shipped path when no per-user folder can be made (the save then fails as it would there).
std::string HiScoreFilePath();

// The shipped table, data/012.dat beside the game; read while the player's copy is missing.
std::string ShippedHiScorePath();

}  // namespace zorvik
