// SPDX-License-Identifier: GPL-3.0-or-later
// Stones in thousands of random small layouts (steps, walls, pits, platforms with their gates,
// stones in the air and stacked), pushed by the player at random moments while gates open and
// close at random: after the last push every stone comes to rest, centred and held up, no two
// stones ever share a cell, the marks match the stones, and no two stones are drawn on the same
// pixels.
#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "G_Objekty.h"
#include "ObjectsTestSupport.h"

namespace zorvik::test {
namespace {

// A small, seeded generator of our own, so that a layout number means the same layout on every
// standard library.
class Random {
  public:
    explicit Random(uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ULL + 1) {}
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
    bool Percent(int p) { return Below(100) < p; }

  private:
    uint64_t Next() {  // splitmix64
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    uint64_t state_;
};

// The layouts lie in columns 1..10 and rows 1..9 of the map; column 11 and everything below
// row 9 are solid. With the camera on row 1 every stone is drawn wholly inside the canvas.
constexpr int kFirstCol = 1, kLastCol = 10, kWallCol = 11, kBottomRow = 9;
constexpr int kStoneArea = 31 * 30;  // pixels of one stone picture, none of them the key colour
constexpr int kSettleFrames = 1500;  // far more than a board's 110 frames plus falls and rolls

class StonesPropertyTest : public ObjectsTest {
  protected:
    // While the stones move the camera looks far away, so that nothing is drawn and the
    // thousands of layouts run fast; for the final picture it looks at the layout.
    static void CameraAway() {
        cameraCol = 30;
        cameraRow = 1;
        cameraFineX = cameraFineY = 0;
    }
    static void CameraOnLayout() { cameraCol = 0; }

    // One random layout: per column a ground height (a step, a floor or a pit), some walls,
    // up to two boards with their housings and platforms, and two to four stones, placed as
    // the loader places them (the cell below each gets its mark).
    void BuildLayout(Random& rng) {
        mapTiles.Fill(0);
        mapSolid.Fill(0);
        mapItems.Fill(0);
        stones = {};
        boards = {};
        stoneCount = boardCount = 0;
        boardGearTick = 0;
        for (int c = 0; c < kMapCols; ++c) {
            for (int r = kBottomRow + 1; r < kMapRows; ++r)
                mapSolid(c, r) = 1;
            mapSolid(c, 0) = 1;
        }
        for (int r = 0; r < kMapRows; ++r)
            mapSolid(0, r) = mapSolid(kWallCol, r) = 1;

        std::vector<int> ground(kMapCols, kBottomRow + 1);
        std::vector<bool> plain(kMapCols, false);  // ground of tile 1 with nothing on it
        for (int c = kFirstCol; c <= kLastCol; ++c) {
            const int kind = rng.Below(100);
            ground[c] = kind < 55 ? 7 : kind < 70 ? 6 : kind < 78 ? 5 : kind < 90 ? 8 : 9;
            for (int r = ground[c]; r <= kBottomRow; ++r) {
                mapSolid(c, r) = 1;
                mapTiles(c, r) = static_cast<int16_t>(r == ground[c] ? 1 : 2);
            }
            plain[c] = true;
            if (rng.Percent(12)) {  // a wall of one or two cells on the ground
                const int height = 1 + rng.Below(2);
                for (int r = ground[c] - height; r < ground[c]; ++r) {
                    mapSolid(c, r) = 1;
                    mapTiles(c, r) = 3;
                }
                ground[c] -= height;
                plain[c] = false;
            }
        }

        // Pictures behind some passable cells: a stone above one marks it like solid ground.
        for (int c = kFirstCol; c <= kLastCol; ++c)
            for (int r = 2; r < ground[c]; ++r)
                if (mapSolid(c, r) == 0 && rng.Percent(30)) mapTiles(c, r) = 5;

        // Boards: a housing on ground at row 7 with its gate in rows 4..6, closed at the start
        // (the close request makes the gate solid on the first frame), and one or two linked
        // platforms on plain ground, often at the bottom of a pit.
        const int boardsWanted = rng.Below(3);
        for (int k = 1; k <= boardsWanted; ++k) {
            std::vector<int> housings;
            for (int c = kFirstCol; c <= kLastCol; ++c)
                if (plain[c] && ground[c] == 7) housings.push_back(c);
            if (housings.empty()) break;
            const int col =
                housings[static_cast<size_t>(rng.Below(static_cast<int>(housings.size())))];
            plain[col] = false;
            mapTiles(col, 7) = 18;
            mapItems(col, 7) = k;
            Board& b = boards[static_cast<size_t>(k)];
            b.column = static_cast<int16_t>(col);
            b.topRow = 4;
            b.height = 219;
            b.closeRequest = kTrue;
            boardCount = static_cast<int16_t>(k);
            const int platforms = 1 + rng.Below(2);
            for (int p = 0; p < platforms; ++p) {
                std::vector<int> spots;
                for (int c = kFirstCol; c <= kLastCol; ++c)
                    if (plain[c]) spots.push_back(c);
                if (spots.empty()) break;
                const int at =
                    spots[static_cast<size_t>(rng.Below(static_cast<int>(spots.size())))];
                plain[at] = false;
                mapTiles(at, ground[at]) = 14;
                mapItems(at, ground[at]) = k;
            }
        }

        // Stones: on the ground, in the air, or on top of the stone placed just before.
        const int count = 2 + rng.Below(3);
        for (int placed = 0, tries = 0; placed < count && tries < 50; ++tries) {
            int col = kFirstCol + rng.Below(kLastCol - kFirstCol + 1);
            int row = ground[col] - 1;
            const int how = rng.Below(100);
            if (how < 30 && placed > 0) {
                const Stone& last = stones[static_cast<size_t>(placed)];
                col = last.column;
                row = last.row - 1;
            } else if (how < 55) {
                row = 2 + rng.Below(std::max(1, ground[col] - 2));
            }
            if (row < 2 || mapSolid(col, row) != 0 || StoneIn(col, row) != nullptr) continue;
            for (const Board& b : boards)
                if (b.column == col && row >= b.topRow && row <= b.topRow + 2) row = -1;
            if (row < 0) continue;
            ++placed;
            Stone& s = stones[static_cast<size_t>(placed)];
            s.column = static_cast<int16_t>(col);
            s.row = static_cast<int16_t>(row);
            s.offsetX = 35;
            s.offsetY = 58;
            mapTiles(col, row + 1) = static_cast<int16_t>(-mapTiles(col, row + 1));
            stoneCount = static_cast<int16_t>(placed);
        }
    }

    static bool AllAtRest() {
        for (int a = 1; a <= stoneCount; ++a)
            if (!StoneAtRest(stones[static_cast<size_t>(a)])) return false;
        for (int k = 1; k <= boardCount; ++k)
            if (boards[static_cast<size_t>(k)].direction != 0) return false;
        return true;
    }

    // One game frame of the moving objects, in DrawWorld's order; now and then a board is
    // asked to open or to close, as a platform would ask it.
    static void Frame(Random* gates) {
        if (gates != nullptr && boardCount > 0 && gates->Percent(2)) {
            Board& b = boards[static_cast<size_t>(1 + gates->Below(boardCount))];
            (gates->Percent(50) ? b.openRequest : b.closeRequest) = kTrue;
        }
        UpdateBoards();
        UpdateStones();
    }

    // The player walks into the stone's cell from one side for one frame: the game's own push
    // condition decides whether it rolls. Then the player is far away again.
    static void Push(const Stone& s, int direction, Random& gates) {
        playerCol = s.column;
        playerRow = s.row;
        playerOffsetX = direction > 0 ? 5 : 67;
        playerSpeedX = direction;
        playerJumping = 0;
        Frame(&gates);
        playerCol = 50;
        playerRow = 17;
        playerSpeedX = 0;
    }

    // What must hold once everything has stopped.
    std::string RestFault() {
        if (!AllAtRest()) return "still moving after " + std::to_string(kSettleFrames) + " frames";
        for (int a = 1; a <= stoneCount; ++a) {
            const Stone& s = stones[static_cast<size_t>(a)];
            const std::string at =
                " at (" + std::to_string(s.column) + ", " + std::to_string(s.row) + ")";
            if (s.offsetX != 35 || s.offsetY != 58) return "a stone rests off centre" + at;
            if (mapSolid(s.column, s.row + 1) == 0 && StoneIn(s.column, s.row + 1) == nullptr) {
                return "a stone rests on nothing" + at;
            }
        }
        if (std::string fault = MarkFault(kFirstCol, kLastCol, 2, kBottomRow); !fault.empty()) {
            return fault;
        }
        // Drawn alone on an empty canvas, the stones cover exactly their own pixels.
        ClearSurface(*tileCanvas);
        CameraOnLayout();
        UpdateStones();
        if (CountNonZero(*tileCanvas) != kStoneArea * stoneCount) {
            return "two stones are drawn over each other";
        }
        return "";
    }

    // Builds layout `number`, pushes at random and lets it settle. Returns the first cell two
    // stones shared at the end of a frame (empty if none) and what was wrong once it settled.
    struct Outcome {
        std::string shared;
        std::string atRest;
    };
    Outcome RunLayout(int number) {
        Random rng(static_cast<uint64_t>(number));
        BuildLayout(rng);
        CameraAway();
        playerCol = 50;
        playerRow = 17;
        Outcome outcome;
        const auto checkCells = [&outcome] {
            if (outcome.shared.empty()) outcome.shared = SharedStoneCell();
        };
        const int pushes = 1 + rng.Below(6);
        for (int p = 0; p < pushes; ++p) {
            const int wait = rng.Below(90);
            for (int f = 0; f < wait; ++f) {
                Frame(&rng);
                checkCells();
            }
            const Stone& s = stones[static_cast<size_t>(1 + rng.Below(stoneCount))];
            Push(s, rng.Percent(50) ? 1 : -1, rng);
            checkCells();
        }
        for (int f = 0; f < kSettleFrames && !AllAtRest(); ++f) {
            Frame(nullptr);
            checkCells();
        }
        outcome.atRest = RestFault();
        return outcome;
    }
};

TEST_F(StonesPropertyTest, RandomLayoutsPushedAndGatedComeToRestWithoutSharingACell) {
    constexpr int kLayouts = 5000;
    int failed = 0, sharedWhileMoving = 0;
    std::map<std::string, int> faultsAtRest;  // by kind, without the place
    std::ostringstream first;
    for (int number = 1; number <= kLayouts; ++number) {
        const Outcome outcome = RunLayout(number);
        if (outcome.shared.empty() && outcome.atRest.empty()) continue;
        sharedWhileMoving += outcome.shared.empty() ? 0 : 1;
        if (!outcome.atRest.empty())
            ++faultsAtRest[outcome.atRest.substr(0, outcome.atRest.find(" ("))];
        if (++failed <= 12) {
            first << "\n  layout " << number << ":";
            if (!outcome.shared.empty()) first << " " << outcome.shared << " while moving;";
            if (!outcome.atRest.empty()) first << " " << outcome.atRest;
        }
    }
    std::ostringstream kinds;
    for (const auto& [kind, count] : faultsAtRest)
        kinds << ", " << count << " ended with " << kind;
    EXPECT_EQ(failed, 0) << failed << " of " << kLayouts << " layouts failed: " << sharedWhileMoving
                         << " had two stones in a cell at some frame" << kinds.str() << first.str();
}

}  // namespace
}  // namespace zorvik::test
