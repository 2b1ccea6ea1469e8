// SPDX-License-Identifier: GPL-3.0-or-later
// The player drawing pass: range checks, the sprite's place, pickups, signposts, the goal and
// the level exit.
#include <gtest/gtest.h>

#include "A_deklarace.h"
#include "D_sub.h"
#include "F_Vykresli.h"
#include "GameHarness.h"
#include "TestLevel.h"

namespace zorvik::test {
namespace {

class PickupTest : public ::testing::Test {
  protected:
    PickupTest() : game(dir.Path()) {}

    void SetUp() override {
        ASSERT_TRUE(game.InitGame());
        game.SetFrameRateResults();
        lives = 3;
        playerCol = 10;
        playerRow = 8;
        playerOffsetX = 35;
        playerOffsetY = 40;
        playerFrame = 0;
        UpdatePlayerFrameRect();
        cameraCol = 5;
        cameraRow = 4;
    }

    // Puts `code` in the player's cell and runs the drawing pass.
    void Touch(int32_t code) {
        mapItems(playerCol, playerRow) = code;
        DrawPlayerAndPickups();
    }

    TempGameDir dir;
    GameHarness game;
};

TEST_F(PickupTest, PlayerIsHeldInsideTheMap) {
    playerCol = 1;
    playerOffsetX = 50;
    DrawPlayerAndPickups();
    EXPECT_EQ(playerCol, 2);
    EXPECT_EQ(playerOffsetX, 0);
    playerCol = 49;
    playerOffsetX = 50;
    DrawPlayerAndPickups();
    EXPECT_EQ(playerOffsetX, 50);
    playerCol = 50;
    DrawPlayerAndPickups();
    EXPECT_EQ(playerCol, 50);
    EXPECT_EQ(playerOffsetX, 0);
    playerRow = -1;
    DrawPlayerAndPickups();
    EXPECT_EQ(playerRow, 0);
    EXPECT_EQ(lives, 3);
}

TEST_F(PickupTest, DroppingIntoTheBottomRowCostsALife) {
    signpostCol = 7;
    signpostRow = 11;
    playerRow = 17;
    DrawPlayerAndPickups();
    EXPECT_EQ(lives, 3);
    playerRow = 18;
    DrawPlayerAndPickups();
    EXPECT_EQ(lives, 2);
    EXPECT_EQ(playerCol, 7);
    EXPECT_EQ(playerRow, 11);
    EXPECT_EQ(keyDelay, 100);
}

TEST_F(PickupTest, SpriteFollowsTheCameraAndAddsTheOffsetOnlyWhenClamped) {
    // Find an opaque pixel of the standing picture.
    int px = -1, py = -1;
    for (int y = 0; y < 100 && px < 0; ++y) {
        for (int x = 0; x < 54; ++x) {
            if (playerSheet->Pixel(x, y) != 0) {
                px = x;
                py = y;
                break;
            }
        }
    }
    ASSERT_GE(px, 0);
    const uint16_t colour = playerSheet->Pixel(px, py);
    playerDrawOffsetX = -25;
    playerDrawOffsetY = -45;

    backBuffer->BltColorFill({0, 0, 640, 480}, 0);
    cameraClampedX = cameraClampedY = 0;
    DrawPlayerAndPickups();
    EXPECT_EQ(backBuffer->Pixel(4 * 73 - 25 + px, 3 * 73 - 45 + py), colour);

    // Held at the left and top edges: 2 * 73 - 25 + 35.5 = 156.5 -> 156.
    backBuffer->BltColorFill({0, 0, 640, 480}, 0);
    playerCol = 3;
    playerRow = 3;
    playerOffsetX = 35.5;
    cameraCol = cameraRow = 0;
    cameraClampedX = cameraClampedY = kTrue;
    DrawPlayerAndPickups();
    EXPECT_EQ(backBuffer->Pixel(156 + px, 2 * 73 - 45 + 40 + py), colour);
}

TEST_F(PickupTest, StarsScoreWithRotatingSoundsAndTheCap) {
    Touch(40);
    EXPECT_EQ(score, 100);
    EXPECT_EQ(mapItems(playerCol, playerRow), 0);
    Touch(51);
    EXPECT_EQ(score, 600);
    Touch(52);
    EXPECT_EQ(score, 3100);
    Touch(40);
    Touch(40);
    EXPECT_EQ(pickupSoundIndex, 0);
    Touch(40);  // the sixth star plays the first copy again
    EXPECT_EQ(sounds019[0]->PlayCount(), 2);
    for (size_t i = 1; i < 5; ++i)
        EXPECT_EQ(sounds019[i]->PlayCount(), 1) << i;
    EXPECT_EQ(sounds019[5]->PlayCount(), 0);

    score = 9999950;
    Touch(40);
    EXPECT_EQ(score, 9999999);
    Touch(52);
    EXPECT_EQ(score, 9999999);
}

TEST_F(PickupTest, StarPassingTenThousandGivesALife) {
    score = 9950;
    Touch(40);
    EXPECT_EQ(lives, 4);
    EXPECT_EQ(extraLifeLevel, 1);
    EXPECT_EQ(sound023->PlayCount(), 1);
}

TEST_F(PickupTest, RefillIsRefusedAtSixCharges) {
    beamCharges = 6;
    Touch(53);
    EXPECT_EQ(beamCharges, 6);
    EXPECT_EQ(mapItems(playerCol, playerRow), 53);
    EXPECT_EQ(sound013->PlayCount(), 0);
    beamCharges = 4;
    DrawPlayerAndPickups();
    EXPECT_EQ(beamCharges, 6);
    EXPECT_EQ(mapItems(playerCol, playerRow), 0);
    EXPECT_EQ(sound013->PlayCount(), 1);
}

TEST_F(PickupTest, SignpostBecomesTheRedOneAndTheOldOneTurnsBack) {
    mapItems(4, 8) = 55;
    signpostCol = 4;
    signpostRow = 8;
    Touch(54);
    EXPECT_EQ(mapItems(10, 8), 55);
    EXPECT_EQ(mapItems(4, 8), 54);
    EXPECT_EQ(signpostCol, 10);
    EXPECT_EQ(signpostRow, 8);
    DrawPlayerAndPickups();  // touching the red one changes nothing
    EXPECT_EQ(mapItems(10, 8), 55);
    EXPECT_EQ(mapItems(4, 8), 54);
}

TEST_F(PickupTest, GoalWinsTheGame) {
    Touch(900);
    EXPECT_EQ(levelWon, kTrue);
}

TEST_F(PickupTest, ExitLoadsTheNextLevelKeepingScoreAndLives) {
    TestLevel next;
    next.Ground(12);
    next.items[11][4] = 998;
    next.Write(dir, 3);
    levelNumber = 2;
    score = 4321;
    lives = 5;
    beamCharges = 4;
    playerBusy = kTrue;
    playerJumping = kTrue;
    playerState = 1;
    playerFrame = 20;
    keyRightLatch = kTrue;
    game.Press(57);
    Touch(997);
    EXPECT_EQ(levelNumber, 3);
    EXPECT_EQ(score, 4321);
    EXPECT_EQ(lives, 5);
    EXPECT_EQ(beamCharges, 0);
    EXPECT_EQ(keyDelay, 100);
    EXPECT_EQ(keyRightLatch, 0);
    EXPECT_EQ(playerBusy, 0);
    EXPECT_EQ(playerJumping, 0);
    EXPECT_EQ(playerState, 0);
    EXPECT_EQ(sound017->PlayCount(), 1);
    EXPECT_EQ(playerCol, 4);
    EXPECT_EQ(playerRow, 11);
    EXPECT_EQ(playerFrame, 36);
    EXPECT_EQ(mapSolid(4, 12), 1);
}

}  // namespace
}  // namespace zorvik::test
