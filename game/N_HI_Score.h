// The high-score table: its file, the name entry after a game.
#pragma once

namespace zorvik {

// Called by InitDirectX and after every entry: reads "/data/012.dat". A missing, garbled or
// short file leaves the table empty (ten empty names and scores) and returns false; it never
// throws for a bad file.
bool LoadHiScores();
// Called after an entry: writes "/data/012.dat" (temporary file, then rename), padding the table
// in place. Returns false, with the old file untouched, when the file cannot be written.
bool SaveHiScores();
// Called by both end screens: puts score into the table and asks for a name.
void EnterHiScore();

}  // namespace zorvik
