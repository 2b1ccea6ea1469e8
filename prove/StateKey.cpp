// SPDX-License-Identifier: GPL-3.0-or-later
// The prover's state key.
#include "StateKey.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <type_traits>

namespace zorvik {

namespace {

// A fast 64-bit hash fed word by word (multiply, rotate, xor), finished with splitmix64.
class Hasher {
  public:
    void Word(uint64_t w) {
        h_ ^= w * 0x9E3779B97F4A7C15ull;
        h_ = ((h_ << 31) | (h_ >> 33)) * 0xC2B2AE3D27D4EB4Full;
    }
    template <typename T>
    void Add(const T& value) {
        static_assert(std::is_arithmetic_v<T>);
        uint64_t w = 0;
        std::memcpy(&w, &value, sizeof(T));
        Word(w);
    }
    // Four independent lanes over 32-byte blocks, so a map layer hashes at the speed of the
    // multiplier rather than of one chain of them; the rest word by word.
    void Bytes(const void* data, size_t size) {
        const auto* p = static_cast<const unsigned char*>(data);
        if (size >= 32) {
            uint64_t lanes[4] = {h_, h_ ^ 0x632BE59BD9B4E019ull, h_ + 0x85EBCA77C2B2AE63ull,
                                 h_ ^ 0x27D4EB2F165667C5ull};
            for (; size >= 32; size -= 32, p += 32)
                for (int k = 0; k < 4; ++k) {
                    uint64_t w;
                    std::memcpy(&w, p + 8 * k, 8);
                    lanes[k] ^= w * 0x9E3779B97F4A7C15ull;
                    lanes[k] = ((lanes[k] << 31) | (lanes[k] >> 33)) * 0xC2B2AE3D27D4EB4Full;
                }
            for (const uint64_t lane : lanes)
                Word(lane);
        }
        for (; size >= 8; size -= 8, p += 8) {
            uint64_t w;
            std::memcpy(&w, p, 8);
            Word(w);
        }
        uint64_t tail = 0;
        std::memcpy(&tail, p, size);
        Word(tail ^ size);
    }
    uint64_t Finish() const {
        uint64_t z = h_ + 0x9E3779B97F4A7C15ull;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

  private:
    uint64_t h_ = 0x243F6A8885A308D3ull;
};

bool IsStar(int32_t code) {
    return code == 40 || code == 51 || code == 52;
}

constexpr int32_t kRefill = 53;

// Whether the beam can still change anything: only a figure it destroys is changed by it.
bool AnyFigureAlive(const PlayState& p) {
    for (int i = 1; i <= p.figureEnemyCount && i < static_cast<int>(p.figureEnemies.size()); ++i)
        if (p.figureEnemies[static_cast<size_t>(i)].alive != 0) return true;
    return false;
}

// The player's height as the key counts it. Standing or walking, heights that round to the same
// pixel are one: a long jump that lands beyond a gap ends 0.14 pixel lower than it started (the
// clamp to 40 happens only over ground), so a player who jumps the same gap again and again
// would otherwise make a new copy of the level's states at each of a hundred heights. In the air
// the exact height is kept.
double KeyHeight(const PlayState& p) {
    if (p.playerJumping != 0 || p.playerFalling != 0) return p.playerOffsetY;
    return std::nearbyint(p.playerOffsetY);
}

double PlayerWorldX(const PlayState& p) {
    return p.playerCol * kCell + p.playerOffsetX;
}

bool FlexEnemyNear(const PlayState& p, const FlexEnemy& e) {
    return std::abs(e.row - p.playerRow) <= kNearRows &&
           std::abs(e.worldX - PlayerWorldX(p)) <= kNearCells * kCell;
}

// The beam charges and the object layer. With no figure left to destroy, a shot changes nothing,
// so neither do the charges nor the refills still lying about; stars only add to the score, so
// which of them are taken is merged too. Which of the `signCells` is lit is the restart point's
// business, kept apart from the key.
void AddCarriedAndLying(Hasher& h, const PlayState& p, const std::vector<size_t>& starCells,
                        const std::vector<size_t>& signCells) {
    const bool beamMatters = AnyFigureAlive(p);
    if (beamMatters) h.Add(p.beamCharges);
    auto items = p.mapItems.Cells();
    for (size_t i : starCells)
        if (IsStar(items[i]) || (!beamMatters && items[i] == kRefill)) items[i] = 0;
    for (size_t i : signCells)
        if (items[i] == kSignpostLit) items[i] = kSignpost;
    h.Bytes(items.data(), sizeof(items));
}

bool FigureNear(const PlayState& p, const FigureEnemy& e) {
    return e.alive != 0 && std::abs(e.row - p.playerRow) <= kNearRows &&
           std::abs(e.col - p.playerCol) <= kNearCells;
}

}  // namespace

bool StandingInStillWorld(const PlayState& p) {
    if (p.playerBusy != 0 || p.playerState != 0 || p.playerFalling != 0 || p.playerJumping != 0 ||
        p.beamActive != 0 || p.keyDelay != 0 || p.inputBlocked != 0) {
        return false;
    }
    for (int i = 1; i <= p.boardCount && i < static_cast<int>(p.boards.size()); ++i) {
        const Board& b = p.boards[static_cast<size_t>(i)];
        if (b.direction != 0 || b.openRequest != 0 || b.closeRequest != 0) return false;
    }
    for (int i = 1; i <= p.stoneCount && i < static_cast<int>(p.stones.size()); ++i) {
        const Stone& s = p.stones[static_cast<size_t>(i)];
        if (s.stepX != 0 || s.stepY != 0 || s.rollLeft != 0 || s.falling != 0) return false;
    }
    for (int i = 1; i <= p.flexEnemyCount && i < static_cast<int>(p.flexEnemies.size()); ++i)
        if (FlexEnemyNear(p, p.flexEnemies[static_cast<size_t>(i)])) return false;
    for (int i = 1; i <= p.figureEnemyCount && i < static_cast<int>(p.figureEnemies.size()); ++i)
        if (FigureNear(p, p.figureEnemies[static_cast<size_t>(i)])) return false;
    return true;
}

StateKeys::StateKeys(const PlayState& loaded, bool exactEnemies) : exactEnemies_(exactEnemies) {
    const auto& items = loaded.mapItems.Cells();
    for (size_t i = 0; i < items.size(); ++i)
        if (IsStar(items[i]) || items[i] == kRefill) starCells_.push_back(i);
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i] == kSignpost || items[i] == kSignpostLit) signCells_.push_back(i);
    enemies_ = loaded.flexEnemyCount > 0 || loaded.figureEnemyCount > 0;
}

std::string StateKeys::MergedText(bool heights) const {
    std::string text = heights ? "sub-pixel heights" : "";
    if (enemies_) {
        text += std::string(text.empty() ? "" : ", ") +
                (exactEnemies_ ? "enemy phases far from the player"
                               : "enemy phases, and enemy positions within a cell");
    }
    return text;
}

uint64_t StateKeys::Key(const PlaySnapshot& snapshot) const {
    const PlayState& p = snapshot.play;
    Hasher h;

    // Timing: the phase of the 60 Hz clock (its milliseconds repeat every three frames) and how
    // long ago the last player step was, up to the point where a step is due anyway. A player
    // standing still in a still world can wait from one phase into the others, so there the
    // phase makes no difference to what can still happen and is left out.
    if (!StandingInStillWorld(p)) {
        const int64_t now = VirtualClockMs(snapshot.frames);
        h.Add(snapshot.frames % 3);
        h.Add(std::min<int64_t>(now - p.lastStepTime, p.stepInterval + 1));
    }
    h.Add(p.stepInterval);

    h.Add(p.keyDelay);
    h.Add(p.inputBlocked);
    for (int16_t latch :
         {p.keyLeftLatch, p.keyRightLatch, p.keyUpLatch, p.keyCtrlLatch, p.keyShiftLatch})
        h.Add(latch);

    h.Add(p.playerCol);
    h.Add(p.playerRow);
    h.Add(p.playerOffsetX);
    h.Add(KeyHeight(p));
    h.Add(p.playerFacing);
    h.Add(p.playerState);
    h.Add(p.playerBusy);
    h.Add(p.playerJumping);
    h.Add(p.playerFalling);
    // Left over from the last animation, and set afresh by the next one before any rule reads
    // them: the frame (only drawn), where the animation ends, its step, the state after it and
    // the speeds (zeroed when it ends; a death keeps them at the signpost, where no stone can be
    // pushed before the next action sets them).
    if (p.playerBusy != 0) {
        h.Add(p.playerFrame);
        h.Add(p.playerFrameEnd);
        h.Add(p.playerFrameStep);
        h.Add(p.playerNextState);
        h.Add(p.playerSpeedX);
        h.Add(p.playerSpeedY);
    }
    // The jump curve is set afresh at the start of every jump.
    if (p.playerJumping != 0) {
        h.Add(p.jumpAngle);
        h.Add(p.jumpAngleStep);
        h.Add(p.jumpHeight);
    }

    AddCarriedAndLying(h, p, starCells_, signCells_);
    h.Add(p.beamActive);
    if (p.beamActive != 0) {
        h.Add(p.beamRequested);
        h.Add(p.beamHead);
        h.Add(p.beamTail);
    }

    h.Bytes(p.mapTiles.Cells().data(), sizeof(p.mapTiles.Cells()));
    h.Bytes(p.mapSolid.Cells().data(), sizeof(p.mapSolid.Cells()));

    for (int i = 1; i <= p.boardCount && i < static_cast<int>(p.boards.size()); ++i) {
        const Board& b = p.boards[static_cast<size_t>(i)];
        h.Add(b.height);
        h.Add(b.direction);
        h.Add(b.openRequest);
        h.Add(b.closeRequest);
        h.Add(b.column);
    }
    for (int i = 1; i <= p.stoneCount && i < static_cast<int>(p.stones.size()); ++i) {
        const Stone& s = p.stones[static_cast<size_t>(i)];
        for (int16_t v :
             {s.offsetX, s.offsetY, s.stepX, s.stepY, s.column, s.row, s.rollLeft, s.falling})
            h.Add(v);
        // A resting stone's heading is only drawn; a push or a fall sets it afresh.
        if (s.stepX != 0 || s.stepY != 0 || s.rollLeft != 0 || s.falling != 0) h.Add(s.heading);
    }

    // Enemies near the player with their phase; far ones merged (figures keep whether alive).
    for (int i = 1; i <= p.flexEnemyCount && i < static_cast<int>(p.flexEnemies.size()); ++i) {
        const FlexEnemy& e = p.flexEnemies[static_cast<size_t>(i)];
        if (!FlexEnemyNear(p, e)) continue;
        h.Add(i);
        h.Add(e.row);
        h.Add(e.dir);
        if (exactEnemies_) {
            for (int16_t v : {e.col, e.xInCell, e.frame, e.tick})
                h.Add(v);
            h.Add(e.worldX);
        } else {
            h.Add(static_cast<int>(std::floor(e.worldX / kCell)));
        }
    }
    for (int i = 1; i <= p.figureEnemyCount && i < static_cast<int>(p.figureEnemies.size()); ++i) {
        const FigureEnemy& e = p.figureEnemies[static_cast<size_t>(i)];
        h.Add(e.alive);
        if (!FigureNear(p, e)) continue;
        h.Add(i);
        // Its animation frame is only drawn; where it is, where it heads, when it steps next and
        // whether it stands are what the rules read.
        for (int16_t v : {e.col, e.dir, e.state})
            h.Add(v);
        if (exactEnemies_) {
            for (int16_t v : {e.xInCell, e.worldX, e.lastDir, e.tick})
                h.Add(v);
        }
    }

    h.Add(p.levelWon);
    h.Add(p.levelLeft);
    h.Add(p.gameLost);
    return h.Finish();
}

uint64_t StateKeys::RouteKey(const PlaySnapshot& snapshot) const {
    const PlayState& p = snapshot.play;
    Hasher h;
    for (int v : {int{p.playerCol}, int{p.playerRow}, int{p.playerFacing}, int{p.playerState},
                  int{p.playerBusy}, int{p.playerJumping}, int{p.playerFalling}, int{p.keyDelay},
                  int{p.beamActive}})
        h.Add(v);
    h.Add(static_cast<int>(std::floor(p.playerOffsetX / 24.0)));
    h.Add(static_cast<int>(std::floor(p.playerOffsetY / 24.0)));
    AddCarriedAndLying(h, p, starCells_, signCells_);
    for (int i = 1; i <= p.boardCount && i < static_cast<int>(p.boards.size()); ++i) {
        const Board& b = p.boards[static_cast<size_t>(i)];
        h.Add(b.direction);
        h.Add(b.height / 40);
    }
    for (int i = 1; i <= p.stoneCount && i < static_cast<int>(p.stones.size()); ++i) {
        const Stone& s = p.stones[static_cast<size_t>(i)];
        for (int16_t v : {s.column, s.row, s.stepX, s.stepY, s.falling})
            h.Add(v);
    }
    for (int i = 1; i <= p.figureEnemyCount && i < static_cast<int>(p.figureEnemies.size()); ++i)
        h.Add(p.figureEnemies[static_cast<size_t>(i)].alive);
    return h.Finish();
}

}  // namespace zorvik
