// SPDX-License-Identifier: GPL-3.0-or-later
// The prover's state key.
#include "StateKey.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

#include "F_Vykresli.h"
#include "Numbers.h"

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

uint64_t HashOf(const void* data, size_t size) {
    Hasher h;
    h.Bytes(data, size);
    return h.Finish();
}

bool FigureNear(const PlayState& p, const FigureEnemy& e) {
    return e.alive != 0 && std::abs(e.row - p.playerRow) <= kNearRows &&
           std::abs(e.col - p.playerCol) <= kNearCells;
}

// How far a board's platforms and the places a death leads to must lie from its gate (in columns)
// for the board to be left out of the key while only the player holds it open, and how far every
// stone must lie from its platforms. While a platform is pressed by the player alone, its gate
// is open only while he stands on it, so he cannot be at the gate then; a stone four or more
// columns from the platform cannot be brought onto it before the board comes to rest, since the
// player would have to leave the platform for longer than the board takes to close.
constexpr int kHeldPlatformToGate = 3;
constexpr int kHeldRestartToGate = 3;
constexpr int kHeldStoneToPlatform = 3;
constexpr int kHeldRestartToPlatform = 1;
// The beam flies to the edge of the screen at most: nine cells is beyond its reach.
constexpr int kBeamReachCells = 9;

// The player's fastest move: a long jump's five pixels a step.
constexpr int kFastestStep = 5;
// After a death the keys are ignored for this many frames (the key delay), and the player stands.
constexpr int kFramesStillAfterDeath = 99;
// How far from a gate or a platform (in columns) the player can change what it does: a push
// moves a stone one cell, and a stone landing on another rolls one more.
constexpr int kTouchColumns = 2;

// Player steps in the next `frames` frames from this moment, and one frame more (the next frame
// may read the clock as it stood at this one's flip): the step timer runs whatever the keys.
int StepsWithin(const PlayState& p, long frame, int frames) {
    int64_t last = p.lastStepTime;
    int steps = 0;
    for (int f = 0; f <= frames; ++f) {
        const int64_t now = VirtualClockMs(frame + f);
        if (now - last > p.stepInterval) {
            last = now;
            ++steps;
        }
    }
    return steps;
}

// Pixels from world x to the nearest pixel of columns [first, last]; 0 inside them.
int PixelsToColumns(double x, int first, int last) {
    const double left = first * kCell - x;
    const double right = x - ((last + 1) * kCell - 1);
    return static_cast<int>(std::max({0.0, std::floor(left), std::floor(right)}));
}

bool StoneMoving(const Stone& s) {
    return s.stepX != 0 || s.stepY != 0 || s.rollLeft != 0 || s.falling != 0;
}

bool InGateCell(const PlayState& p, int col, int row) {
    for (int i = 1; i <= p.boardCount && i < static_cast<int>(p.boards.size()); ++i) {
        const Board& b = p.boards[static_cast<size_t>(i)];
        if (b.column == col && row >= b.topRow && row <= b.topRow + 2) return true;
    }
    return false;
}

bool Wall(const PlayState& p, int col, int row) {
    return col >= 0 && col < kMapCols && row >= 0 && row < kMapRows && p.mapSolid(col, row) != 0 &&
           !InGateCell(p, col, row);
}

// An enemy walks where the gate's solidity steers it: in the gate's rows or on top of it.
bool EnemyByGate(const PlayState& p, const Board& board) {
    const auto byGate = [&board](int row) {
        return row >= board.topRow - 1 && row <= board.topRow + 2;
    };
    for (int i = 1; i <= p.flexEnemyCount && i < static_cast<int>(p.flexEnemies.size()); ++i)
        if (byGate(p.flexEnemies[static_cast<size_t>(i)].row)) return true;
    for (int i = 1; i <= p.figureEnemyCount && i < static_cast<int>(p.figureEnemies.size()); ++i) {
        const FigureEnemy& e = p.figureEnemies[static_cast<size_t>(i)];
        if (e.alive != 0 && byGate(e.row)) return true;
    }
    return false;
}

// A stone at rest on solid ground between two walls (a notch) can never be pushed or fall again.
bool Immovable(const PlayState& p, const Stone& s) {
    return !StoneMoving(s) && Wall(p, s.column - 1, s.row) && Wall(p, s.column + 1, s.row) &&
           Wall(p, s.column, s.row + 1);
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
        if (StoneMoving(p.stones[static_cast<size_t>(i)])) return false;
    }
    for (int i = 1; i <= p.flexEnemyCount && i < static_cast<int>(p.flexEnemies.size()); ++i)
        if (FlexEnemyNear(p, p.flexEnemies[static_cast<size_t>(i)])) return false;
    for (int i = 1; i <= p.figureEnemyCount && i < static_cast<int>(p.figureEnemies.size()); ++i)
        if (FigureNear(p, p.figureEnemies[static_cast<size_t>(i)])) return false;
    return true;
}

StateKeys::StateKeys(const PlayState& loaded, bool exactEnemies, bool exactBoards)
    : exactEnemies_(exactEnemies), exactBoards_(exactBoards) {
    const auto& items = loaded.mapItems.Cells();
    for (size_t i = 0; i < items.size(); ++i)
        if (IsStar(items[i]) || items[i] == kRefill) starCells_.push_back(i);
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i] == kSignpost || items[i] == kSignpostLit) signCells_.push_back(i);
    enemies_ = loaded.flexEnemyCount > 0 || loaded.figureEnemyCount > 0;

    platforms_.resize(loaded.boards.size());
    for (int r = 0; r < kMapRows; ++r)
        for (int c = 0; c < kMapCols; ++c) {
            const int tile = std::abs(loaded.mapTiles(c, r));
            const int64_t link = std::llabs(static_cast<int64_t>(loaded.mapItems(c, r)));
            if ((tile == 14 || tile == 15) && link > 0 &&
                link < static_cast<int64_t>(platforms_.size()))
                platforms_[static_cast<size_t>(link)].emplace_back(c, r);
        }
    for (size_t i : signCells_)
        restartCols_.push_back(static_cast<int>(i % kMapCols));
    restartCols_.push_back(loaded.signpostCol);
}

// The board's height, its motion and its gate's solidity make no difference to what can still
// happen when all of this holds:
// - no request waits, and each of its platforms is pressed exactly when the player stands on it
//   (no stone lies on one, and none is out of step because it was out of view);
// - the player standing on a platform is more than kHeldPlatformToGate columns from the gate,
//   and no place a death leads to is near the gate or on a platform;
// - every stone rests, none in or beside the gate's column, none within kHeldStoneToPlatform
//   columns of a platform;
// - no enemy walks in the rows where the gate stands or on top of it;
// - the beam cannot reach the gate from a platform, or there is no charge and no refill.
// The gate is then open only while the player stands on a platform, where neither he, a stone,
// an enemy nor the beam can pass it; and once the player leaves, the gate is solid at once.
bool StateKeys::CanFire(const PlayState& p) const {
    if (p.beamActive != 0 || p.beamCharges > 0) return true;
    const auto& items = p.mapItems.Cells();
    return std::any_of(starCells_.begin(), starCells_.end(),
                       [&items](size_t i) { return items[i] == kRefill; });
}

bool StateKeys::HeldOnlyByPlayer(const PlayState& p, int b) const {
    const Board& board = p.boards[static_cast<size_t>(b)];
    const auto& platforms = platforms_[static_cast<size_t>(b)];
    if (platforms.empty() || board.column == 0 || board.openRequest != 0 ||
        board.closeRequest != 0) {
        return false;
    }
    const bool canFire = CanFire(p);
    for (const int col : restartCols_)
        if (std::abs(col - board.column) <= kHeldRestartToGate) return false;

    for (const auto& [c, r] : platforms) {
        const int16_t tile = p.mapTiles(c, r);
        const bool playerOn = PlayerPressesPlatform(p, c, r);
        if (tile < 0 || (tile == 15) != playerOn) return false;
        const int toGate = std::abs(c - board.column);
        if (toGate <= kHeldPlatformToGate || (canFire && toGate <= kBeamReachCells)) return false;
        for (const int col : restartCols_)
            if (std::abs(col - c) <= kHeldRestartToPlatform) return false;
        for (int i = 1; i <= p.stoneCount && i < static_cast<int>(p.stones.size()); ++i)
            if (std::abs(p.stones[static_cast<size_t>(i)].column - c) <= kHeldStoneToPlatform)
                return false;
    }
    for (int i = 1; i <= p.stoneCount && i < static_cast<int>(p.stones.size()); ++i) {
        const Stone& s = p.stones[static_cast<size_t>(i)];
        if (StoneMoving(s) || std::abs(s.column - board.column) <= 1) return false;
    }
    return !EnemyByGate(p, board);
}

std::string StateKeys::MergedText(bool heights) const {
    std::string text = heights ? "sub-pixel heights" : "";
    if (boardsSettled_) {
        text += std::string(text.empty() ? "" : ", ") +
                "when a board far from the player comes to rest";
    }
    if (boardsMerged_) {
        text += std::string(text.empty() ? "" : ", ") +
                "the motion of boards only the player holds, far from their gates";
    }
    if (enemies_) {
        text += std::string(text.empty() ? "" : ", ") +
                (exactEnemies_ ? "enemy phases far from the player"
                               : "enemy phases, and enemy positions within a cell");
    }
    return text;
}

// With no figure left to destroy, a shot changes nothing, so neither do the charges nor the
// refills still lying about; stars only add to the score, so which of them are taken is merged
// too. Which signpost is lit is the restart point's business, kept apart from the key.
uint64_t StateKeys::LyingHash(const PlayState& p, bool beamMatters) const {
    return itemsMemo_.Get(p.mapItems.Cells(), beamMatters, [&] {
        auto items = p.mapItems.Cells();
        for (size_t i : starCells_)
            if (IsStar(items[i]) || (!beamMatters && items[i] == kRefill)) items[i] = 0;
        for (size_t i : signCells_)
            if (items[i] == kSignpostLit) items[i] = kSignpost;
        return HashOf(items.data(), sizeof(items));
    });
}

// A moving board whose gate and platforms nothing can reach before it comes to rest (the
// player, nor the player after a death, nor a stone, an enemy or the beam) has the same future
// as the board already at rest: nobody can tell when it got there.
int16_t StateKeys::SettlesUnseen(const PlayState& p, long frame, int b) const {
    const Board& board = p.boards[static_cast<size_t>(b)];
    if (board.direction == 0 || board.openRequest != 0 || board.closeRequest != 0) return 0;
    const bool opening = board.direction < 0;
    const int16_t rest = opening ? kBoardOpenHeight : kBoardClosedHeight;
    const int frames =
        (opening ? board.height - kBoardOpenHeight : kBoardClosedHeight - board.height) / 2 + 1;
    // A platform out of step with what presses it (changed out of view) sends a request as
    // soon as it comes into view.
    for (const auto& [c, r] : platforms_[static_cast<size_t>(b)]) {
        const int16_t tile = p.mapTiles(c, r);
        const bool playerOn = PlayerPressesPlatform(p, c, r);
        if ((std::abs(tile) == 15) != (tile < 0 || playerOn)) return 0;
    }

    const bool canFire = CanFire(p);
    // Only the player can set a resting stone going. With none he could move near the gate, he
    // can tell an opening gate only by entering its column; otherwise a stone he pushes could.
    int gateReach = 0;
    for (int i = 1; i <= p.stoneCount && i < static_cast<int>(p.stones.size()); ++i) {
        const Stone& s = p.stones[static_cast<size_t>(i)];
        if (StoneMoving(s)) return 0;
        if (Immovable(p, s)) continue;
        if (std::abs(s.column - board.column) <= 1) return 0;
        if (std::abs(s.column - board.column) <= 3) gateReach = kTouchColumns;
    }
    if (EnemyByGate(p, board)) return 0;
    // A platform whose stone lies in a notch stays pressed whatever anyone does.
    std::vector<std::pair<int, int>> free;
    for (const auto& [c, r] : platforms_[static_cast<size_t>(b)]) {
        bool held = false;
        for (int i = 1; i <= p.stoneCount && i < static_cast<int>(p.stones.size()); ++i) {
            const Stone& s = p.stones[static_cast<size_t>(i)];
            if (s.column == c && s.row == r - 1 && Immovable(p, s)) held = true;
        }
        if (!held) free.emplace_back(c, r);
    }

    // The nearest the player (or a restart) is to anything that could tell: the gate only
    // matters while it opens (a closing gate is solid at once), the platforms always.
    const auto pixelsToTouch = [&](double x) {
        int pixels = std::numeric_limits<int>::max();
        if (opening) {
            pixels = PixelsToColumns(x, board.column - gateReach, board.column + gateReach);
            if (canFire) pixels -= kBeamReachCells * kCell;
        }
        for (const auto& [c, r] : free)
            pixels = std::min(pixels, PixelsToColumns(x, c - kTouchColumns, c + kTouchColumns));
        return pixels;
    };
    if (pixelsToTouch(PlayerWorldX(p)) <= kFastestStep * StepsWithin(p, frame, frames)) return 0;
    if (frames > kFramesStillAfterDeath) {
        const int reach = kFastestStep * (frames - kFramesStillAfterDeath);
        for (const int col : restartCols_)
            if (pixelsToTouch(col * kCell + 35.0) <= reach) return 0;
    }
    return rest;
}

uint64_t StateKeys::Key(const PlayState& p, long frames) const {
    Hasher h;

    // Timing: the phase of the 60 Hz clock (its milliseconds repeat every three frames) and how
    // long ago the last player step was, up to the point where a step is due anyway. A player
    // standing still in a still world can wait from one phase into the others, so there the
    // phase makes no difference to what can still happen and is left out.
    if (!StandingInStillWorld(p)) {
        const int64_t now = VirtualClockMs(frames);
        h.Add(frames % 3);
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

    const bool beamMatters = AnyFigureAlive(p);
    if (beamMatters) h.Add(p.beamCharges);
    h.Add(LyingHash(p, beamMatters));
    h.Add(p.beamActive);
    if (p.beamActive != 0) {
        h.Add(p.beamRequested);
        h.Add(p.beamHead);
        h.Add(p.beamTail);
    }

    // A board only the player holds counts as closed, whatever it is doing.
    // A board far from anyone counts as at rest where it is going.
    GateOverrides gates;
    uint64_t& held = gates.held;
    std::array<int16_t, 64>& settled = gates.settled;
    for (int i = 1;
         !exactBoards_ && i <= p.boardCount && i < static_cast<int>(p.boards.size()) && i < 64;
         ++i) {
        if (HeldOnlyByPlayer(p, i)) {
            held |= uint64_t{1} << i;
        } else {
            settled[static_cast<size_t>(i)] = SettlesUnseen(p, frames, i);
        }
    }
    if (held != 0) boardsMerged_ = true;
    h.Add(held);

    h.Add(tilesMemo_.Get(p.mapTiles.Cells(), true, [&p] {
        return HashOf(p.mapTiles.Cells().data(), sizeof(p.mapTiles.Cells()));
    }));
    h.Add(solidMemo_.Get(p.mapSolid.Cells(), gates, [&p, &gates] {
        auto solid = p.mapSolid.Cells();
        for (int i = 1; i <= p.boardCount && i < static_cast<int>(p.boards.size()) && i < 64; ++i) {
            const Board& b = p.boards[static_cast<size_t>(i)];
            const int16_t settledAt = gates.settled[static_cast<size_t>(i)];
            if ((gates.held >> i & 1) == 0 && settledAt == 0) continue;
            const int16_t value = settledAt == kBoardOpenHeight ? 0 : 1;
            for (int r = b.topRow; r <= b.topRow + 2; ++r)
                if (r >= 0 && r < kMapRows && b.column > 0 && b.column < kMapCols)
                    solid[static_cast<size_t>(r) * kMapCols + static_cast<size_t>(b.column)] =
                        value;
        }
        return HashOf(solid.data(), sizeof(solid));
    }));

    for (int i = 1; i <= p.boardCount && i < static_cast<int>(p.boards.size()); ++i) {
        if (i < 64 && (held >> i & 1) != 0) continue;
        const Board& b = p.boards[static_cast<size_t>(i)];
        if (i < 64 && settled[static_cast<size_t>(i)] != 0) {
            boardsSettled_ = true;
            for (int16_t v :
                 {settled[static_cast<size_t>(i)], int16_t{0}, int16_t{0}, int16_t{0}, b.column})
                h.Add(v);
            continue;
        }
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
            h.Add(FloorToInt(e.worldX / kCell));
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

uint64_t StateKeys::RouteKey(const PlayState& p) const {
    Hasher h;
    for (int v : {int{p.playerCol}, int{p.playerRow}, int{p.playerFacing}, int{p.playerState},
                  int{p.playerBusy}, int{p.playerJumping}, int{p.playerFalling}, int{p.keyDelay},
                  int{p.beamActive}})
        h.Add(v);
    h.Add(static_cast<int>(std::floor(p.playerOffsetX / 24.0)));
    h.Add(static_cast<int>(std::floor(p.playerOffsetY / 24.0)));
    const bool beamMatters = AnyFigureAlive(p);
    if (beamMatters) h.Add(p.beamCharges);
    h.Add(LyingHash(p, beamMatters));
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
