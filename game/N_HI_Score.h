// The high-score table: its file, the name entry after a game.
#pragma once

#include <string>
#include <string_view>

namespace zorvik {

// Called by InitDirectX and after every entry: reads "/data/012.dat" and parses it with
// ParseHiScores. A missing file leaves the table empty and returns false; it never throws for
// a bad file.
bool LoadHiScores();
// Fills the table from the text of a high-score file. Every entry whose ten name codes and
// seven score codes were all read and valid before the first fault (a garbled line, a code
// outside 0..255, the end of the text) is kept; the others are left empty. Returns whether all
// 170 codes were read.
bool ParseHiScores(std::string_view fileText);
// The text of the file for the table, padding the table in place (names with "z" to ten
// characters, scores with leading "0" to seven): 170 lines of one number each.
std::string FormatHiScores();
// Called after an entry: writes "/data/012.dat" (temporary file, then rename), padding the table
// in place. Returns false, with the old file untouched, when the file cannot be written or is
// read-only.
bool SaveHiScores();
// Called by both end screens: puts score into the table and asks for a name.
void EnterHiScore();

}  // namespace zorvik
