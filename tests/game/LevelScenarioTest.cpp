// SPDX-License-Identifier: GPL-3.0-or-later
// A level played in the headless host with scripted keys: walking, running, a jump, stars, a
// fall into a pit and the respawn at the red signpost, and the exit into the next level.
#include <gtest/gtest.h>

#include <filesystem>

#include "A_deklarace.h"
#include "C_mainloop.h"
#include "E_load.h"
#include "GameHarness.h"
#include "TestLevel.h"
#include "TestPaths.h"

namespace zorvik::test {
namespace {

constexpr int kUp = 200, kLeft = 203, kRight = 205, kCtrl = 29, kSpace = 57;

// Level 1: ground in row 12, a one-cell block at column 16, a pit at columns 22..23, the exit
// at column 2 left of the red signpost, stars, a refill and a second signpost on the way.
TestLevel FirstLevel() {
    TestLevel level;
    level.Ground(12);
    level.Pit(12, 22, 23);
    level.tiles[11][16] = 3;
    level.solid[11][16] = 1;
    for (int c = 26; c <= 30; ++c) {
        level.tiles[8][c] = 4;
        level.solid[8][c] = 1;
        level.items[7][c] = 40;
    }
    level.items[11][2] = 997;
    level.items[11][5] = 55;
    level.items[11][6] = 999;
    level.items[11][8] = 40;
    level.items[11][9] = 51;
    level.items[11][10] = 52;
    level.items[11][12] = 53;
    level.items[9][9] = 40;
    level.items[9][10] = 40;
    level.items[11][13] = 54;
    level.items[11][35] = 900;
    return level;
}

TestLevel SecondLevel() {
    TestLevel level;
    level.Ground(12);
    level.items[11][3] = 55;
    level.items[11][5] = 999;
    return level;
}

TEST(LevelScenarioTest, PlayThroughALevelIntoTheNext) {
    TempGameDir dir;
    FirstLevel().Write(dir, 1);
    SecondLevel().Write(dir, 2);
    GameHarness game(dir.Path());
    ASSERT_TRUE(game.InitGame());
    game.SetFrameRateResults();
    game.Press(kSpace);  // answers every intro card at once
    LoadLevel();
    ASSERT_EQ(playerCol, 6);
    ASSERT_EQ(lives, 3);

    enum class Phase { Walk, Run, Jump, Pit, Exit, Done };
    Phase phase = Phase::Walk;
    bool sawWalkFrames = false, spriteMatched = false, cameraFollowed = false;
    bool sawRunFrames = false, sawJump = false, passedBlock = false, sawFall = false;
    bool pngSaved = false;
    int scoreAfterStars = -1, scoreAtExit = -1, livesAfterDeath = -1, chargesAfterRefill = -1;
    int16_t respawnCol = -1, respawnRow = -1;
    const std::string png =
        (std::filesystem::path(DistDir()).parent_path() / "level-frame.png").string();

    game.Host().onFlip = [&](dx::HeadlessHost& host, const uint16_t* screen) {
        if (host.Frames() > 6000) {
            gameLost = kTrue;  // the script got stuck; the expectations below tell where
            return;
        }
        switch (phase) {
            case Phase::Walk:
                game.Press(kRight);
                if (playerFrame >= 0 && playerFrame <= 35 && playerBusy != 0) sawWalkFrames = true;
                if (cameraClampedX == 0 && cameraClampedY == 0) {
                    cameraFollowed = cameraCol == playerCol - 5 &&
                                     cameraFineX == static_cast<int16_t>(playerOffsetX + 0.5);
                    // The bottle is drawn at the sixth column of the screen block.
                    const dx::RECT r = playerSrcRect;
                    for (int y = r.top; y < r.bottom && !spriteMatched; ++y) {
                        for (int x = r.left; x < r.right; ++x) {
                            const uint16_t p = playerSheet->Pixel(x, y);
                            if (p == 0) continue;
                            const int sx = 4 * 73 + playerDrawOffsetX + (x - r.left);
                            const int sy = 3 * 73 + playerDrawOffsetY + (y - r.top);
                            spriteMatched = screen[sy * 640 + sx] == p;
                            break;
                        }
                    }
                }
                if (!pngSaved && playerCol == 9 && playerOffsetX >= 35) {
                    pngSaved = game.SaveFramePng(png);
                }
                if (playerCol >= 11) {
                    scoreAfterStars = score;
                    phase = Phase::Run;
                }
                break;
            case Phase::Run:
                game.Press(kCtrl);
                if (playerFrame >= 72 && playerFrame <= 92) sawRunFrames = true;
                if (playerCol >= 14) {
                    chargesAfterRefill = beamCharges;
                    game.Release(kCtrl);
                    phase = Phase::Jump;
                }
                break;
            case Phase::Jump:
                if (playerCol == 15 && playerOffsetX == 73 && playerJumping == 0) {
                    game.Press(kUp);  // blocked by the wall: jump over it
                } else {
                    game.Release(kUp);
                }
                if (playerJumping != 0) sawJump = true;
                if (sawJump && playerCol >= 17 && playerJumping == 0) {
                    passedBlock = true;
                    phase = Phase::Pit;
                }
                break;
            case Phase::Pit:
                if (playerFalling != 0) sawFall = true;
                if (lives < 3) {
                    livesAfterDeath = lives;
                    respawnCol = playerCol;
                    respawnRow = playerRow;
                    game.Release(kRight);
                    phase = Phase::Exit;
                }
                break;
            case Phase::Exit:
                game.Press(kLeft);
                game.Press(kCtrl);
                scoreAtExit = score;
                if (levelNumber == 2) {
                    game.Release(kLeft);
                    game.Release(kCtrl);
                    phase = Phase::Done;
                    levelWon = kTrue;  // ends the loop after this frame
                }
                break;
            case Phase::Done:
                break;
        }
    };
    RunLevelLoop();
    game.Host().onFlip = nullptr;

    EXPECT_TRUE(sawWalkFrames);
    EXPECT_TRUE(cameraFollowed);
    EXPECT_TRUE(spriteMatched);
    EXPECT_TRUE(pngSaved);
    EXPECT_EQ(scoreAfterStars, 3100);
    EXPECT_EQ(chargesAfterRefill, 2);
    EXPECT_TRUE(sawRunFrames);
    EXPECT_TRUE(sawJump);
    EXPECT_TRUE(passedBlock);
    EXPECT_TRUE(sawFall);
    EXPECT_EQ(livesAfterDeath, 2);
    // The signpost at column 13 became the red one on the way.
    EXPECT_EQ(respawnCol, 13);
    EXPECT_EQ(respawnRow, 11);
    ASSERT_TRUE(phase == Phase::Done);
    EXPECT_EQ(levelNumber, 2);
    EXPECT_EQ(score, scoreAtExit);
    EXPECT_EQ(lives, 2);
    EXPECT_EQ(beamCharges, 0);
    EXPECT_EQ(playerCol, 5);
    EXPECT_EQ(signpostCol, 3);
    EXPECT_EQ(mapItems(9, 11), 0);  // level 2 replaced level 1's layers
}

}  // namespace
}  // namespace zorvik::test
