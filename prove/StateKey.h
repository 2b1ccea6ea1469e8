// SPDX-License-Identifier: GPL-3.0-or-later
// What makes two moments of a level different for the prover: a 64-bit key over everything the
// game's rules will read again, and nothing they only draw. Two snapshots with the same key have
// the same future, except for what the key merges on purpose (see MergedText).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "LevelPlay.h"

namespace zorvik {

// The object codes of a signpost, and of the one the player starts again at.
constexpr int32_t kSignpost = 54;
constexpr int32_t kSignpostLit = 55;

class StateKeys {
  public:
    // `loaded` is the level as loaded: its stars are the cells whose taking the key ignores.
    // With `exactEnemies` false, an enemy near the player counts by its cell and heading only,
    // not by where in the cell it is or when it steps next: the search then stays within a
    // designer's patience on levels with enemies, at the cost of "merged" in the report.
    // The signpost where the player would start again is left out (which one is lit, and the
    // restart point itself): only a death reads it, and the search keeps it beside the key.
    StateKeys(const PlayState& loaded, bool exactEnemies);

    uint64_t Key(const PlaySnapshot& snapshot) const;
    // A far coarser key for the quick search for a first route, which needs a route, not every
    // state: where the player stands (a third of a cell), how it moves, what it carries and where
    // the objects rest. A route found over it is still one the game played.
    uint64_t RouteKey(const PlaySnapshot& snapshot) const;
    // What the keys merged beyond score and lives, for the prover's report ("" when nothing);
    // `heights` says whether two states did meet that differed only below a pixel of height.
    std::string MergedText(bool heights) const;

  private:
    std::vector<size_t> starCells_;  // indices into the object layer: stars and refills
    std::vector<size_t> signCells_;  // and signposts
    bool enemies_ = false;
    bool exactEnemies_ = false;
};

// The player stands at rest with nothing to wait for: no board or stone moving, no beam, no key
// delay, no enemy near enough to be part of the key. Waiting there changes only the clock's phase.
bool StandingInStillWorld(const PlayState& p);

// Near enough to the player that an enemy's position and phase are part of the key: the same
// row or the two next to it, and within `kNearCells` cells.
constexpr int kNearRows = 2;
constexpr int kNearCells = 6;

}  // namespace zorvik
