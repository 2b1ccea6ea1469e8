// SPDX-License-Identifier: GPL-3.0-or-later
// Boards: the gate's travel and timing, its cells, the gear, the motor sound, drawing with the
// canvas cut, and the records a level leaves unfilled.
#include "G_Objekty.h"
#include "ObjectsTestSupport.h"

namespace zorvik::test {
namespace {

class BoardsTest : public ObjectsTest {
  protected:
    // A board as the loader leaves it: housing at (10, 12), gate rows 9..11, close request.
    static Board& LoadedBoard(int link, int column = 10, int housingRow = 12) {
        Board& b = boards[static_cast<size_t>(link)];
        b.column = static_cast<int16_t>(column);
        b.topRow = static_cast<int16_t>(housingRow - 3);
        b.height = 219;
        b.closeRequest = kTrue;
        return b;
    }
    static bool GateSolid(const Board& b, int value) {
        for (int r = b.topRow; r <= b.topRow + 2; ++r) {
            if (mapSolid(b.column, r) != value) return false;
        }
        return true;
    }
    static void Frames(int n) {
        for (int i = 0; i < n; ++i)
            UpdateBoards();
    }
};

TEST_F(BoardsTest, FirstFrameClosesTheGateAndStopsTheMotorAtOnce) {
    boardCount = 1;
    Board& b = LoadedBoard(1);
    Frames(1);
    EXPECT_TRUE(GateSolid(b, 1));
    EXPECT_EQ(b.height, 219);
    EXPECT_EQ(b.direction, 0);
    EXPECT_EQ(b.closeRequest, 0);
    EXPECT_EQ(sound026->PlayCount(), 2);  // looping start, then the one-shot play before Stop
    EXPECT_EQ(sound026->StopCount(), 1);
    EXPECT_FALSE(sound026->IsPlaying());
}

TEST_F(BoardsTest, TakesOneHundredTenFramesEachWayAndOpensTheCellsOnlyWhenDown) {
    boardCount = 1;
    Board& b = LoadedBoard(1);
    Frames(1);

    b.openRequest = kTrue;
    Frames(1);
    EXPECT_EQ(sound026->Frequency(), 7000);
    EXPECT_TRUE(sound026->IsPlaying());
    EXPECT_TRUE(sound026->IsLooping());
    Frames(108);
    EXPECT_EQ(b.height, 1);
    EXPECT_EQ(b.direction, -1);
    EXPECT_TRUE(GateSolid(b, 1));  // still solid while sinking
    Frames(1);                     // the 110th frame
    EXPECT_EQ(b.height, 1);
    EXPECT_EQ(b.direction, 0);
    EXPECT_TRUE(GateSolid(b, 0));
    EXPECT_FALSE(sound026->IsPlaying());

    b.closeRequest = kTrue;
    Frames(1);
    EXPECT_TRUE(GateSolid(b, 1));  // solid at once on close
    EXPECT_EQ(sound026->Frequency(), 8000);
    Frames(108);
    EXPECT_EQ(b.height, 219);
    EXPECT_EQ(b.direction, 1);
    Frames(1);
    EXPECT_EQ(b.height, 219);
    EXPECT_EQ(b.direction, 0);
}

TEST_F(BoardsTest, CloseRequestWinsOverOpenRequestInTheSameFrame) {
    boardCount = 1;
    Board& b = LoadedBoard(1);
    b.height = 101;
    b.closeRequest = kTrue;
    b.openRequest = kTrue;
    Frames(1);
    EXPECT_EQ(b.direction, 1);
    EXPECT_EQ(b.height, 103);
    EXPECT_EQ(b.openRequest, 0);
    EXPECT_TRUE(GateSolid(b, 1));
    EXPECT_EQ(sound026->Frequency(), 8000);
}

TEST_F(BoardsTest, GearTurnsEveryThirdFrameOnlyWhileMoving) {
    boardCount = 1;
    Board& b = LoadedBoard(1);
    Frames(1);  // the tick is now 1
    const int16_t atRest = b.gearFrame;
    Frames(6);
    EXPECT_EQ(b.gearFrame, atRest);

    b.openRequest = kTrue;
    std::vector<int> changes;
    int16_t last = b.gearFrame;
    for (int frame = 1; frame <= 12; ++frame) {
        UpdateBoards();
        if (b.gearFrame != last) changes.push_back(frame);
        last = b.gearFrame;
    }
    // Sinking turns the wheel forwards, wrapping after frame 5.
    EXPECT_EQ(changes, (std::vector<int>{2, 5, 8, 11}));
    EXPECT_EQ(b.gearFrame, (atRest + 4) % 6);

    // Three boards: the shared tick wraps once per frame, always in the same board's turn.
    boardCount = 3;
    Board& b2 = LoadedBoard(2, 14);
    Board& b3 = LoadedBoard(3, 18);
    Frames(1);
    b2.openRequest = b3.openRequest = kTrue;
    const int16_t g1 = b.gearFrame, g2 = b2.gearFrame, g3 = b3.gearFrame;
    Frames(4);
    const int turned = (b.gearFrame != g1) + (b2.gearFrame != g2) + (b3.gearFrame != g3);
    EXPECT_EQ(turned, 1);
    EXPECT_EQ(b2.gearFrame, (g2 + 4) % 6);
}

TEST_F(BoardsTest, MotorStopsWhenAnyBoardArrivesEvenIfAnotherStillMoves) {
    boardCount = 2;
    Board& b1 = LoadedBoard(1);
    Board& b2 = LoadedBoard(2, 20);
    Frames(1);
    b1.height = 5;
    b1.openRequest = kTrue;
    b2.openRequest = kTrue;
    Frames(3);
    EXPECT_EQ(b1.height, 1);
    EXPECT_EQ(b2.direction, -1);
    EXPECT_EQ(b2.height, 219 - 6);
    EXPECT_FALSE(sound026->IsPlaying());
}

TEST_F(BoardsTest, RecordsOutsideTheCountOrNotFilledAreInert) {
    boardCount = 1;
    // Record 0 (a housing numbered 0) and record 2 (a number above the count) hold a gate the
    // file made passable; record 1 was not filled by this level but holds an earlier level's
    // data apart from the column.
    Board& zero = LoadedBoard(0, 12);
    Board& above = LoadedBoard(2, 20);
    Board stale;
    stale.column = 0;
    stale.topRow = 5;
    stale.height = 120;
    stale.direction = -1;
    stale.closeRequest = kTrue;
    stale.openRequest = kTrue;
    boards[1] = stale;
    const MapGrid<int16_t> solidBefore = mapSolid;

    Frames(20);
    EXPECT_TRUE(mapSolid == solidBefore);
    EXPECT_TRUE(GateSolid(zero, 0));
    EXPECT_TRUE(GateSolid(above, 0));
    EXPECT_EQ(zero.closeRequest, kTrue);
    EXPECT_EQ(above.height, 219);
    EXPECT_EQ(boards[1].height, 120);
    EXPECT_EQ(boards[1].closeRequest, kTrue);
    EXPECT_EQ(boards[1].openRequest, kTrue);
    EXPECT_EQ(sound026->PlayCount(), 0);
    EXPECT_EQ(CountNonZero(*tileCanvas), 0);  // nothing drawn
}

TEST_F(BoardsTest, DrawsGearAndBarAndCutsTheBarAtTheCanvasEdges) {
    boardCount = 1;
    Board& b = LoadedBoard(1);  // gate rows 9..11 in column 10
    cameraCol = 5;
    cameraRow = 5;
    Frames(1);
    // Gear frame 0 beside the bar, the bar's foot 14 pixels below the housing's top.
    // (the bar covers the gear's left edge, so only the part right of the bar is compared)
    EXPECT_TRUE(BlockMatches(*tileCanvas, 5 * 73 + 45, 6 * 73 + 30, *objectSheet, 8, 30, 41, 53));
    EXPECT_TRUE(BlockMatches(*tileCanvas, 5 * 73 + 26, 4 * 73 + 14, *objectSheet, 0, 82, 18, 219));

    // Fine scroll moves everything up and left.
    ClearSurface(*tileCanvas);
    cameraFineX = 10;
    cameraFineY = 20;
    Frames(1);
    EXPECT_TRUE(BlockMatches(*tileCanvas, 5 * 73 + 16, 4 * 73 - 6, *objectSheet, 0, 82, 18, 219));

    // Gate above the canvas top: the bar's top is cut off the source.
    ClearSurface(*tileCanvas);
    cameraFineX = cameraFineY = 0;
    cameraRow = 10;  // bar top at -73 + 14 = -59
    Frames(1);
    EXPECT_TRUE(BlockMatches(*tileCanvas, 5 * 73 + 26, 0, *objectSheet, 0, 82 + 59, 18, 160));

    // Gate low on the canvas: the bar ends at the canvas's bottom edge.
    ClearSurface(*tileCanvas);
    cameraRow = 3;  // bar top at 6 * 73 + 14 = 452, 219 high, canvas 658 high
    Frames(1);
    EXPECT_TRUE(BlockMatches(*tileCanvas, 5 * 73 + 26, 452, *objectSheet, 0, 82, 18, 206));
    EXPECT_EQ(b.height, 219);
}

}  // namespace
}  // namespace zorvik::test
