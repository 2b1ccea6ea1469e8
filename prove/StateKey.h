// SPDX-License-Identifier: GPL-3.0-or-later
// What makes two moments of a level different for the prover: a 64-bit key over everything the
// game's rules will read again, and nothing they only draw. Two snapshots with the same key have
// the same future, except for what the key merges on purpose (see MergedText).
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "LevelPlay.h"

namespace zorvik {

// The object codes of a signpost, and of the one the player starts again at.
constexpr int32_t kSignpost = 54;
constexpr int32_t kSignpostLit = 55;

// The hash of a map layer as a key counts it, kept for the layer last seen in the same
// `Context`: the states searched one after another mostly share their layers, and comparing a
// layer costs a fraction of copying and hashing it.
template <typename Layer, typename Context>
class LayerMemo {
  public:
    template <typename Hash>
    uint64_t Get(const Layer& layer, const Context& context, Hash&& hash) {
        if (valid_ && context == context_ && std::memcmp(&layer, &layer_, sizeof(Layer)) == 0)
            return hash_;
        layer_ = layer;
        context_ = context;
        hash_ = hash();
        valid_ = true;
        return hash_;
    }

  private:
    Layer layer_{};
    Context context_{};
    uint64_t hash_ = 0;
    bool valid_ = false;
};

class StateKeys {
  public:
    // `loaded` is the level as loaded: its stars are the cells whose taking the key ignores.
    // With `exactEnemies` false, an enemy near the player counts by its cell and heading only,
    // not by where in the cell it is or when it steps next: the search then stays within a
    // designer's patience on levels with enemies, at the cost of "merged" in the report.
    // The signpost where the player would start again is left out (which one is lit, and the
    // restart point itself): only a death reads it, and the search keeps it beside the key.
    // With `exactBoards` false, a moving board that nobody can tell from one at rest counts as at
    // rest (see HeldOnlyByPlayer and SettlesUnseen); the report then says so.
    StateKeys(const PlayState& loaded, bool exactEnemies, bool exactBoards = false);

    uint64_t Key(const PlaySnapshot& snapshot) const { return Key(snapshot.play, snapshot.frames); }
    // The key of the game as it stands after `frames` frames, without copying it.
    uint64_t Key(const PlayState& p, long frames) const;
    // A far coarser key for the quick search for a first route, which needs a route, not every
    // state: where the player stands (a third of a cell), how it moves, what it carries and where
    // the objects rest. A route found over it is still one the game played.
    uint64_t RouteKey(const PlayState& p) const;
    // What the keys merged beyond score and lives, for the prover's report ("" when nothing);
    // `heights` says whether two states did meet that differed only below a pixel of height.
    std::string MergedText(bool heights) const;

  private:
    // Whether board `b` moves only as the player steps on and off its platforms, far from its
    // gate, with nothing else that could ever see when the gate opens (see the definition).
    bool HeldOnlyByPlayer(const PlayState& p, int b) const;
    // Whether the player could fire the beam: it flies, he has a charge, or a refill lies about.
    bool CanFire(const PlayState& p) const;
    // The height board `b` comes to rest at, when it moves and nothing can reach its gate or
    // its platforms before it does (0 otherwise).
    int16_t SettlesUnseen(const PlayState& p, long frame, int b) const;
    // The object layer with the stars (and, when the beam can change nothing, the refills) taken
    // and every signpost unlit: what of it the key counts.
    uint64_t LyingHash(const PlayState& p, bool beamMatters) const;

    using Cells16 = std::array<int16_t, kMapCols * kMapRows>;
    using Cells32 = std::array<int32_t, kMapCols * kMapRows>;
    // The solid layer's memo context: the boards held by the player alone, and the height each
    // board counts as settled at (0: not settled).
    struct GateOverrides {
        uint64_t held = 0;
        std::array<int16_t, 64> settled{};
        bool operator==(const GateOverrides&) const = default;
    };
    mutable LayerMemo<Cells32, bool> itemsMemo_;
    mutable LayerMemo<Cells16, bool> tilesMemo_;
    mutable LayerMemo<Cells16, GateOverrides> solidMemo_;

    std::vector<size_t> starCells_;  // indices into the object layer: stars and refills
    std::vector<size_t> signCells_;  // and signposts
    // Per board number: the cells of its platforms (column, row).
    std::vector<std::vector<std::pair<int, int>>> platforms_;
    std::vector<int> restartCols_;  // columns of the signposts and of the start
    mutable bool boardsMerged_ = false;
    mutable bool boardsSettled_ = false;
    bool enemies_ = false;
    bool exactEnemies_ = false;
    bool exactBoards_ = false;
};

// The player stands at rest with nothing to wait for: no board or stone moving, no beam, no key
// delay, no enemy near enough to be part of the key. Waiting there changes only the clock's phase.
bool StandingInStillWorld(const PlayState& p);

// Near enough to the player that an enemy's position and phase are part of the key: the same
// row or the two next to it, and within `kNearCells` cells.
constexpr int kNearRows = 2;
constexpr int kNearCells = 6;

}  // namespace zorvik
