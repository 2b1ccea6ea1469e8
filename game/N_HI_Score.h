// The high-score table: its file, the name entry after a game.
#pragma once

namespace zorvik {

// Called by InitDirectX and after every entry: reads "/data/012.dat".
void LoadHiScores();
// Called after an entry: writes "/data/012.dat" (temporary file, then rename).
void SaveHiScores();
// Called by both end screens: puts score into the table and asks for a name.
void EnterHiScore();

}  // namespace zorvik
