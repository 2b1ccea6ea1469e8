// SPDX-License-Identifier: GPL-3.0-or-later
// Which file holds the high-score table: the shipped data/012.dat where the player may write
// into data/ of a build or an unpacked copy, otherwise (and always for an installed game, even
// for root) the player's own copy under $XDG_DATA_HOME/zorvik/.
#pragma once

#include <string>

namespace zorvik {

// Called by the high-score module before every read. The player's copy is seeded from the
// shipped table the first time (under a lock, so two games starting at once seed it once); a
// seeding that fails leaves no file behind. Falls back to the shipped table when no per-user
// folder can be made.
std::string HiScoreFilePath();

// Called by the high-score module before every save: the same file, except that an installed
// game without a per-user folder saves nowhere (empty), so the save fails with its message.
std::string HiScoreSavePath();

// The shipped table, data/012.dat beside the game; read while the player's copy is missing.
std::string ShippedHiScorePath();

}  // namespace zorvik
