// SPDX-License-Identifier: GPL-3.0-or-later
// The high-score table: its file, the name entry after a game.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zorvik {

// The largest high-score file read: 170 lines of a number each take under 1 KiB; the rest
// leaves room for blanks around the numbers.
constexpr size_t kMaxHiScoreFileBytes = 16 * 1024;

// Called by InitDirectX and after every entry: reads "/data/012.dat" (a regular file of at most
// kMaxHiScoreFileBytes) and parses it as ParseHiScores does. A missing or unreadable file leaves
// the table empty and returns false; it never throws or waits for a bad file.
bool LoadHiScores();
// Fills the table from the text of a high-score file. Every entry whose own ten name codes and
// seven score codes are all valid is kept, whatever the other lines hold; the others are left
// empty (a garbled line, a code outside 0..255, a line missing at the end). Returns whether all
// 170 codes were valid.
bool ParseHiScores(std::string_view fileText);
// The text of the file for the table, padding the table in place (names with "z" to ten
// characters, scores with leading "0" to seven): 170 lines of one number each.
std::string FormatHiScores();
// Writes the table to "/data/012.dat", padding it in place: under a lock on its folder, through
// a temporary file that is synced and renamed over the old one, which keeps its permission bits;
// a damaged old file is kept as "012.dat.bad". Returns false, with the old file untouched, when
// the file cannot be written or is read-only.
bool SaveHiScores();
// Called by both end screens: puts score into the table and asks for a name. The entry is saved
// into the table as it is on disk at that moment, so entries another game saved meanwhile stay.
void EnterHiScore();

}  // namespace zorvik
