// SPDX-License-Identifier: GPL-3.0-or-later
// The beam: charges and the fizzle, the bolt's growth and lines, the screen edge, walls,
// which enemies it destroys, and the return of the cast pose.
#include <cmath>

#include "F_Vykresli.h"
#include "ObjectsTestSupport.h"

namespace zorvik::test {
namespace {

class BeamTest : public ObjectsTest {
  protected:
    void SetUp() override {
        ObjectsTest::SetUp();
        // The player in column 10, row 9; the camera follows it (not clamped).
        playerCol = 10;
        playerRow = 9;
        playerOffsetX = 35;
        playerOffsetY = 40;
        cameraCol = 5;
        cameraRow = 5;
        cameraFineX = 35;
        cameraFineY = 40;
    }
    // What the player code does when Shift is latched, facing right (2) or left (1).
    static void Cast(int facing, int16_t charges) {
        playerFacing = static_cast<uint8_t>(facing);
        playerFrame = static_cast<int16_t>(facing == 2 ? 279 : 273);
        beamCharges = charges;
        beamRequested = kTrue;
        beamActive = kTrue;
    }
    static int Frames() {
        int frames = 0;
        while (beamActive != 0 && frames < 500) {
            ClearSurface(*backBuffer);
            DrawBeam();
            ++frames;
        }
        return frames;
    }
    static FigureEnemy& Figure(int index, int col, int row) {
        FigureEnemy& e = figureEnemies[static_cast<size_t>(index)];
        e = FigureEnemy{};
        e.col = static_cast<int16_t>(col);
        e.row = static_cast<int16_t>(row);
        e.alive = kTrue;
        figureEnemyCount = static_cast<int16_t>(std::max<int>(figureEnemyCount, index));
        return e;
    }
    // The origin of the bolt on the back buffer for the player above.
    static constexpr int kBx = (10 - 5 - 1) * 73;
    static constexpr int kY = (9 - 5 - 1) * 73 - 26;
};

TEST_F(BeamTest, WithoutChargesTheShotFizzlesAndThePoseReturns) {
    for (int facing : {2, 1}) {
        Cast(facing, 0);
        ClearSurface(*backBuffer);
        DrawBeam();
        EXPECT_EQ(beamActive, 0);
        EXPECT_EQ(beamRequested, 0);
        EXPECT_EQ(CountNonZero(*backBuffer), 0);
        EXPECT_EQ(playerFrameEnd, facing == 2 ? 274 : 268);
        EXPECT_EQ(playerDrawOffsetX, facing == 2 ? -26 : -31);
        EXPECT_EQ(playerDrawOffsetY, -45);
        EXPECT_EQ(playerFrameStep, -1);
        EXPECT_EQ(playerBusy, kTrue);
    }
    EXPECT_EQ(sound014->PlayCount(), 2);
    EXPECT_EQ(sound022->PlayCount(), 0);
}

TEST_F(BeamTest, ShotTakesTwoChargesOnceAndHoldsThePoseWhileFlying) {
    Cast(2, 4);
    playerSpeedX = 1.0;
    DrawBeam();
    EXPECT_EQ(beamCharges, 2);
    EXPECT_EQ(sound022->PlayCount(), 1);
    EXPECT_EQ(beamActive, kTrue);
    EXPECT_EQ(playerFrameStep, 0);  // the cast pose is held
    EXPECT_EQ(playerSpeedX, 1.0);
    DrawBeam();
    EXPECT_EQ(beamCharges, 2);
    EXPECT_EQ(sound022->PlayCount(), 1);
}

TEST_F(BeamTest, EighthFrameHasHeadFortyAndTailFiveWithThreeLines) {
    Cast(2, 2);
    for (int i = 0; i < 8; ++i) {
        ClearSurface(*backBuffer);
        DrawBeam();
    }
    EXPECT_EQ(beamHead, 40);
    EXPECT_EQ(beamTail, 5);
    // Lines (tail - 3 .. head - 1), (tail - 2 .. head), (tail - 3 .. head - 1), end excluded.
    const int rows[3][2] = {{kBx + 2, kBx + 39}, {kBx + 3, kBx + 40}, {kBx + 2, kBx + 39}};
    for (int line = 0; line < 3; ++line) {
        const int y = kY + line;
        EXPECT_EQ(backBuffer->Pixel(rows[line][0] - 1, y), 0) << line;
        EXPECT_EQ(backBuffer->Pixel(rows[line][1], y), 0) << line;
        for (int x = rows[line][0]; x < rows[line][1]; ++x) {
            const uint16_t p = backBuffer->Pixel(x, y);
            const int red = p >> 11, green = (p >> 5) & 0x3F, blue = p & 0x1F;
            EXPECT_GE(red, 150 >> 3);
            EXPECT_EQ(green, (line == 1 ? 70 : 90) >> 2);
            EXPECT_EQ(blue, 0);
        }
    }
    EXPECT_EQ(CountNonZero(*backBuffer), 37 + 37 + 37);
    EXPECT_EQ(backBuffer->ForeColor565(), dx::To565(255, 0, 255));

    // Leftwards the same distances are negative.
    Cast(1, 2);
    beamHead = beamTail = 0;
    for (int i = 0; i < 8; ++i)
        DrawBeam();
    EXPECT_EQ(beamHead, -40);
    EXPECT_EQ(beamTail, -5);
}

TEST_F(BeamTest, FrameAtTheScreenEdgeIsStillDrawn) {
    Cast(2, 2);
    const int frames = Frames();
    // It ends on the frame in which bx + head first exceeds 639: head 350.
    EXPECT_EQ(frames, 70);
    EXPECT_NE(backBuffer->Pixel(639, kY), 0);
    EXPECT_NE(backBuffer->Pixel(639 - 34, kY + 1), 0);
    EXPECT_EQ(beamHead, 0);
    EXPECT_EQ(beamTail, 0);
    // Then the cast is played back.
    EXPECT_EQ(playerFrameEnd, 274);
    EXPECT_EQ(playerFrameStep, -1);

    // Leftwards it ends when bx + head falls below 1.
    Cast(1, 2);
    EXPECT_EQ(Frames(), kBx / 5 + 1);
    EXPECT_NE(backBuffer->Pixel(0, kY + 1), 0);
}

TEST_F(BeamTest, WallStopsTheBeamWithOrWithoutEnemies) {
    mapSolid(13, 9) = 1;
    Cast(2, 2);
    // Column 13 is reached when head + offsetX reaches 3 * 73: head 184, on frame 37.
    EXPECT_EQ(Frames(), 37);
    EXPECT_EQ(beamHead, 0);

    Figure(1, 20, 9);
    Figure(2, 11, 4);
    Cast(2, 2);
    EXPECT_EQ(Frames(), 37);
    EXPECT_EQ(figureEnemies[1].alive, kTrue);
    EXPECT_EQ(figureEnemies[2].alive, kTrue);
    EXPECT_EQ(sound024->PlayCount(), 0);
}

TEST_F(BeamTest, OnlyFigureEnemiesInThePlayersRowAreDestroyed) {
    Figure(1, 11, 8);  // one row up, passed first
    Figure(2, 11, 10);
    Figure(3, 12, 9);  // the target
    Figure(4, 14, 9);  // behind the target
    flexEnemyCount = 1;
    flexEnemies[1].col = 11;
    flexEnemies[1].row = 9;
    flexEnemies[1].worldX = 11 * 73 + 35;
    Cast(2, 2);
    // Column 12 is reached at head 111: frame 23.
    EXPECT_EQ(Frames(), 23);
    EXPECT_EQ(figureEnemies[1].alive, kTrue);
    EXPECT_EQ(figureEnemies[2].alive, kTrue);
    EXPECT_EQ(figureEnemies[3].alive, 0);
    EXPECT_EQ(figureEnemies[4].alive, kTrue);
    EXPECT_EQ(sound024->PlayCount(), 1);
    EXPECT_EQ(beamHead, 0);
    EXPECT_EQ(beamTail, 0);

    // A destroyed figure no longer stops a shot; the next one in the row does.
    Cast(2, 2);
    EXPECT_EQ(Frames(), 52);  // column 14 at head 257: head 260
    EXPECT_EQ(figureEnemies[4].alive, 0);
    EXPECT_EQ(sound024->PlayCount(), 2);
}

TEST_F(BeamTest, LeftwardShotLinesWallAndFigureWithRedCappedAt255) {
    // Lines on the eighth frame (head -40, tail -5): (tail - 4 .. head + 1), (tail - 5 .. head),
    // (tail - 4 .. head + 1), drawn leftwards with the end excluded.
    Cast(1, 2);
    for (int i = 0; i < 8; ++i) {
        ClearSurface(*backBuffer);
        DrawBeam();
    }
    const int ends[3][2] = {{kBx - 9, kBx - 38}, {kBx - 10, kBx - 39}, {kBx - 9, kBx - 38}};
    for (int line = 0; line < 3; ++line) {
        const int y = kY + line;
        EXPECT_EQ(backBuffer->Pixel(ends[line][0] + 1, y), 0) << line;
        EXPECT_NE(backBuffer->Pixel(ends[line][0], y), 0) << line;
        EXPECT_NE(backBuffer->Pixel(ends[line][1], y), 0) << line;
        EXPECT_EQ(backBuffer->Pixel(ends[line][1] - 1, y), 0) << line;
    }
    EXPECT_EQ(CountNonZero(*backBuffer), 30 + 30 + 30);

    // The whole flight to the screen edge: every line's red is 150..255, never wrapped past
    // 255, and the brightest lines reach the cap.
    int cappedLines = 0, lines = 0;
    while (beamActive != 0 && lines < 1000) {
        ClearSurface(*backBuffer);
        DrawBeam();
        const int x = kBx + beamTail - 20;  // inside the bolt while it flies
        if (beamActive == 0 || x < 0) continue;
        for (int line = 0; line < 3; ++line) {
            const uint16_t p = backBuffer->Pixel(x, kY + line);
            const int red = p >> 11, green = (p >> 5) & 0x3F;
            EXPECT_GE(red, 150 >> 3);
            EXPECT_EQ(green, (line == 1 ? 70 : 90) >> 2);
            if (red == 31) ++cappedLines;
            ++lines;
        }
    }
    EXPECT_GT(lines, 60);
    EXPECT_GT(cappedLines, 0);

    // A wall three columns to the left: column 7 is reached at head -185, on frame 37.
    mapSolid(7, 9) = 1;
    Cast(1, 2);
    EXPECT_EQ(Frames(), 37);
    EXPECT_EQ(beamHead, 0);

    // A figure two columns to the left is hit as soon as the head crosses into its column
    // (head -110: -75 / 73 rounds down to -2), one behind the player is left alone.
    Figure(1, 12, 9);
    Figure(2, 8, 9);
    Cast(1, 2);
    EXPECT_EQ(Frames(), 22);
    EXPECT_EQ(figureEnemies[1].alive, kTrue);
    EXPECT_EQ(figureEnemies[2].alive, 0);
    EXPECT_EQ(sound024->PlayCount(), 1);
}

TEST_F(BeamTest, ClampedCameraPutsThePlayersOffsetIntoTheOrigin) {
    cameraClampedX = kTrue;
    cameraClampedY = kTrue;
    playerOffsetX = 20.5;
    playerOffsetY = 30.5;
    Cast(2, 2);
    ClearSurface(*backBuffer);
    DrawBeam();
    // bx = kBx + 20.5; the tail end kBx + 20.5 - 3 rounds to even; y = kY + 30.5 rounds to even.
    const int y = static_cast<int>(std::nearbyint(kY + 30.5));
    const int x0 = static_cast<int>(std::nearbyint(kBx + 20.5 - 3));
    EXPECT_EQ(backBuffer->Pixel(x0 - 1, y), 0);
    EXPECT_NE(backBuffer->Pixel(x0, y), 0);
}

// A level played with keys: the bottle collects stars and two refills, stops, fires to the
// right and destroys a figure enemy coming towards it; the status line is saved before the shot.
void BeamScenario(bool forDocs) {
    TestLevel level;
    level.Ground(12);
    level.items[11][3] = 55;
    level.items[11][4] = 999;
    level.items[11][5] = 40;
    level.items[11][6] = 51;
    level.items[11][7] = 52;
    level.items[11][8] = 53;
    level.items[11][9] = 53;
    level.items[11][16] = 57;  // figure walking left
    LevelRun run(level);
    ASSERT_EQ(figureEnemyCount, 1);
    GameHarness& game = run.Game();
    const FigureEnemy& figure = figureEnemies[1];

    enum class Phase { Collect, Stop, Fire, Flying, Done } phase = Phase::Collect;
    bool statusSaved = false, beamSaved = false, sawBolt = false;
    int chargesBeforeShot = -1;
    game.Press(LevelRun::kRight);
    run.Run([&](const uint16_t* screen, const uint16_t*) {
        switch (phase) {
            case Phase::Collect:
                if (playerCol == 9 && beamCharges == 4) {
                    game.Release(LevelRun::kRight);
                    phase = Phase::Stop;
                }
                break;
            case Phase::Stop:
                if (playerBusy == 0 && playerState == 0) {
                    chargesBeforeShot = beamCharges;
                    statusSaved =
                        dx::SavePng(PicturePath(forDocs, "status-line.png"), screen, 640, 48);
                    game.Press(LevelRun::kLeftShift);
                    phase = Phase::Fire;
                }
                break;
            case Phase::Fire:
                if (beamActive != 0) {
                    game.Release(LevelRun::kLeftShift);
                    phase = Phase::Flying;
                }
                break;
            case Phase::Flying:
                if (beamHead > 100) sawBolt = true;
                if (figure.alive == 0) {
                    // The frame of the hit still shows the figure and the bolt reaching it.
                    beamSaved = dx::SavePng(PicturePath(forDocs, "beam.png"), screen, 640, 480);
                    phase = Phase::Done;
                }
                break;
            case Phase::Done:
                return playerBusy == 0;  // the cast pose has been played back
        }
        return false;
    });

    ASSERT_TRUE(phase == Phase::Done);
    EXPECT_EQ(score, 3100);
    EXPECT_EQ(chargesBeforeShot, 4);
    EXPECT_EQ(beamCharges, 2);
    EXPECT_TRUE(sawBolt);
    EXPECT_EQ(figure.alive, 0);
    EXPECT_EQ(figure.row, playerRow);
    EXPECT_EQ(sound022->PlayCount(), 1);
    EXPECT_EQ(sound024->PlayCount(), 1);
    EXPECT_EQ(lives, 3);
    EXPECT_EQ(beamActive, 0);
    EXPECT_EQ(playerFrame, 274);  // back at the first cast frame
    EXPECT_TRUE(statusSaved);
    EXPECT_TRUE(beamSaved);
}

TEST(BeamScenario, BeamDestroysAFigureEnemyComingTowardsTheBottle) {
    BeamScenario(false);
}

TEST(DocPictures, DISABLED_BeamAndStatusLine) {
    BeamScenario(true);
}

}  // namespace
}  // namespace zorvik::test
