// SPDX-License-Identifier: GPL-3.0-or-later
// The player: action choice, the timed step with walls and rows, jumps, falling, the frame
// table, deaths and extra lives.
#include <gtest/gtest.h>

#include <vector>

#include "A_deklarace.h"
#include "D_sub.h"
#include "GameHarness.h"

namespace zorvik::test {
namespace {

constexpr int kGroundRow = 12;  // the player stands in row 11

dx::SoundBufferPtr SilentBuffer(const char* name) {
    return std::make_shared<dx::DirectSoundBuffer>(std::vector<uint8_t>(64, 128), 11025, name);
}

class PlayerTest : public GameTest {
  protected:
    PlayerTest() {
        for (auto* s : {&sound013, &sound014, &sound016, &sound017, &sound020, &sound021, &sound022,
                        &sound023, &sound024, &sound025, &sound027, &sound028}) {
            *s = SilentBuffer("sound");
        }
        for (auto& s : sounds019)
            s = SilentBuffer("star");
        stepInterval = 16;
        lastStepTime = static_cast<int32_t>(dx::timeGetTime());
        for (int c = 0; c <= 51; ++c)
            mapSolid(c, kGroundRow) = 1;
        playerCol = 10;
        playerRow = kGroundRow - 1;
        playerOffsetX = 35;
        playerOffsetY = 40;
        playerFacing = 2;
    }

    // One frame of the player update with enough time passed for a step.
    void Frame() {
        game.Host().AdvanceMs(17);
        UpdatePlayerMotion();
        UpdatePlayerFrameRect();
        ApplyGravity();
    }
};

TEST_F(PlayerTest, FrameTableCorners) {
    struct Case {
        int16_t frame;
        dx::RECT rect;
    };
    const Case cases[] = {
        {0, {0, 0, 54, 100}},          {35, {1890, 0, 1944, 100}},    {36, {0, 100, 54, 200}},
        {72, {0, 202, 64, 307}},       {113, {1280, 309, 1344, 414}}, {124, {1884, 202, 1938, 298}},
        {125, {1344, 309, 1398, 405}}, {161, {1600, 416, 1664, 514}}, {209, {1743, 615, 1826, 713}},
        {210, {0, 714, 83, 812}},      {250, {0, 912, 83, 1010}},     {273, {603, 1011, 658, 1108}},
        {274, {0, 1011, 55, 1108}},    {279, {275, 1011, 330, 1108}},
    };
    for (const Case& c : cases) {
        playerFrame = c.frame;
        UpdatePlayerFrameRect();
        EXPECT_EQ(playerSrcRect.left, c.rect.left) << "frame " << c.frame;
        EXPECT_EQ(playerSrcRect.top, c.rect.top) << "frame " << c.frame;
        EXPECT_EQ(playerSrcRect.right, c.rect.right) << "frame " << c.frame;
        EXPECT_EQ(playerSrcRect.bottom, c.rect.bottom) << "frame " << c.frame;
    }
    playerFrame = 280;  // beyond the table: the rectangle stays
    UpdatePlayerFrameRect();
    EXPECT_EQ(playerSrcRect.left, 275);
    EXPECT_EQ(playerSrcRect.right, 330);
}

TEST_F(PlayerTest, LeftAndRightTogetherTurnLeftWhateverTheFacing) {
    for (uint8_t facing : {uint8_t{1}, uint8_t{2}}) {
        playerFacing = facing;
        playerBusy = 0;
        playerState = 0;
        keyLeftLatch = kTrue;
        keyRightLatch = kTrue;
        UpdatePlayerMotion();
        EXPECT_EQ(playerFrame, 114) << "facing " << int{facing};
        EXPECT_EQ(playerFrameEnd, 124);
        EXPECT_EQ(playerFacing, 1);
        EXPECT_EQ(keyLeftLatch, 0);
        EXPECT_EQ(keyRightLatch, 0);
    }
}

TEST_F(PlayerTest, WalkingStartsCyclesAndStopsWithTheRollingSound) {
    keyRightLatch = kTrue;
    Frame();
    EXPECT_EQ(playerFrame, 1);  // start walking right, first step taken
    EXPECT_EQ(playerOffsetX, 36);
    for (int i = 0; i < 5; ++i)
        Frame();  // no key needed: the animation runs to its end
    EXPECT_EQ(playerFrame, 6);
    EXPECT_EQ(playerState, 1);
    EXPECT_EQ(playerBusy, 0);
    EXPECT_EQ(playerOffsetX, 41);

    keyRightLatch = kTrue;
    Frame();
    EXPECT_EQ(playerFrameEnd, 35);
    EXPECT_TRUE(sound021->IsPlaying());
    EXPECT_TRUE(sound021->IsLooping());
    EXPECT_EQ(sound021->Frequency(), 67000);
    for (int i = 0; i < 28; ++i)
        Frame();
    EXPECT_EQ(playerFrame, 35);
    EXPECT_EQ(playerBusy, 0);

    keyRightLatch = kTrue;
    keyCtrlLatch = kTrue;
    Frame();
    EXPECT_EQ(playerFrame, 73);  // running
    EXPECT_EQ(sound021->Frequency(), 80000);
    const double before = playerOffsetX;
    Frame();
    EXPECT_EQ(playerOffsetX, before + 3);
    for (int i = 0; i < 18; ++i)
        Frame();
    ASSERT_EQ(playerFrame, 92);
    ASSERT_EQ(playerBusy, 0);

    Frame();  // no key: stop walking right plays back to the resting frame
    EXPECT_EQ(playerFrameEnd, 0);
    for (int i = 0; i < 5; ++i)
        Frame();
    EXPECT_EQ(playerFrame, 0);
    EXPECT_EQ(playerState, 0);

    // Standing still, every step silences the rolling sound.
    const int stops = sound021->StopCount();
    Frame();
    Frame();
    EXPECT_EQ(sound021->StopCount(), stops + 2);
    EXPECT_FALSE(sound021->IsPlaying());
}

TEST_F(PlayerTest, StepsArePacedByTheClock) {
    keyRightLatch = kTrue;
    UpdatePlayerMotion();  // the choice is made, but no time has passed
    EXPECT_EQ(playerFrame, 0);
    game.Host().AdvanceMs(16);  // exactly stepInterval: still no step
    UpdatePlayerMotion();
    EXPECT_EQ(playerFrame, 0);
    game.Host().AdvanceMs(1);
    UpdatePlayerMotion();
    EXPECT_EQ(playerFrame, 1);
    UpdatePlayerMotion();  // at most one step per frame
    EXPECT_EQ(playerFrame, 1);
}

TEST_F(PlayerTest, PickupCountersAdvanceWithSteps) {
    for (int i = 0; i < 8; ++i)
        Frame();
    EXPECT_EQ(starFrame, 2);
    EXPECT_EQ(bonusFrame, 4);
    starFrame = 9;
    starTick = 3;
    bonusFrame = 19;
    bonusTick = 1;
    Frame();
    EXPECT_EQ(starFrame, 0);
    EXPECT_EQ(bonusFrame, 0);
}

TEST_F(PlayerTest, UpWhileWalkingJumpsAtOnceButNotWhileJumpingOrCasting) {
    playerState = 1;
    playerBusy = kTrue;
    playerFrame = 10;
    playerFrameEnd = 35;
    playerFrameStep = 1;
    keyUpLatch = kTrue;
    UpdatePlayerMotion();
    EXPECT_EQ(playerFrame, 136);
    EXPECT_EQ(playerJumping, kTrue);
    EXPECT_EQ(jumpHeight, 10);

    keyUpLatch = kTrue;
    Frame();
    EXPECT_EQ(playerFrame, 137);  // the jump goes on, no new jump

    playerJumping = 0;
    playerBusy = 0;
    playerState = 0;
    beamActive = kTrue;
    playerFrame = 0;
    keyUpLatch = kTrue;
    UpdatePlayerMotion();
    EXPECT_EQ(playerFrame, 0);
    EXPECT_EQ(playerJumping, 0);
}

TEST_F(PlayerTest, NormalJumpLandsAtStepTwentyFour) {
    keyUpLatch = kTrue;
    int steps = 0;
    do {
        Frame();
        ++steps;
    } while (playerJumping != 0 && steps < 40);
    EXPECT_EQ(steps, 24);
    EXPECT_EQ(playerOffsetY, 40);
    EXPECT_EQ(playerRow, kGroundRow - 1);
    EXPECT_EQ(playerFrame, 160);
    EXPECT_EQ(playerBusy, kTrue);
    const double x = playerCol * 73 + playerOffsetX;
    EXPECT_EQ(x, 10 * 73 + 35 + 96);
    Frame();  // the 25th frame plays in place
    EXPECT_EQ(playerFrame, 161);
    EXPECT_EQ(playerBusy, 0);
    EXPECT_EQ(playerCol * 73 + playerOffsetX, x);
}

TEST_F(PlayerTest, LongJumpLandsAtStepThirtyEight) {
    keyUpLatch = kTrue;
    keyCtrlLatch = kTrue;
    int steps = 0;
    double peak = 0;
    do {
        Frame();
        ++steps;
        const double height = (kGroundRow - 1 - playerRow) * 73 + 40 - playerOffsetY;
        if (height > peak) peak = height;
    } while (playerJumping != 0 && steps < 60);
    EXPECT_EQ(steps, 38);
    EXPECT_NEAR(peak, 186.7, 0.5);
    EXPECT_EQ(playerOffsetY, 40);
    EXPECT_EQ(playerRow, kGroundRow - 1);
}

TEST_F(PlayerTest, JumpsFacingLeftUseTheLeftFramesSpeedAndOffset) {
    struct Case {
        bool longJump;
        int16_t firstFrame, lastFrame;
        double speedX;
        int steps;  // to the landing
        int16_t drawOffsetX;
    };
    for (const Case& c :
         {Case{false, 162, 187, -4.0, 24, -49}, Case{true, 228, 267, -5.0, 38, -62}}) {
        SCOPED_TRACE(c.longJump ? "long jump" : "jump");
        playerCol = 10;
        playerOffsetX = 35;
        playerFacing = 1;
        keyUpLatch = kTrue;
        keyCtrlLatch = c.longJump ? kTrue : 0;
        Frame();
        keyUpLatch = keyCtrlLatch = 0;
        EXPECT_EQ(playerFrame, c.firstFrame + 1);
        EXPECT_EQ(playerSpeedX, c.speedX);
        EXPECT_EQ(playerDrawOffsetX, c.drawOffsetX);
        EXPECT_EQ(playerDrawOffsetY, -45);
        int steps = 1;
        while (playerJumping != 0 && steps < 60) {
            Frame();
            ++steps;
        }
        EXPECT_EQ(steps, c.steps);
        EXPECT_EQ(playerCol * 73 + playerOffsetX, 10 * 73 + 35 + c.speedX * c.steps);
        EXPECT_EQ(playerOffsetY, 40);
        Frame();  // the last frame plays in place
        EXPECT_EQ(playerFrame, c.lastFrame);
        EXPECT_EQ(playerBusy, 0);
        EXPECT_EQ(playerFacing, 1);
    }
}

TEST_F(PlayerTest, JumpsPassThroughCeilings) {
    for (int c = 0; c <= 51; ++c)
        mapSolid(c, kGroundRow - 2) = 1;  // solid row right above
    keyUpLatch = kTrue;
    int lowestRow = playerRow;
    for (int i = 0; i < 24; ++i) {
        Frame();
        if (playerRow < lowestRow) lowestRow = playerRow;
    }
    EXPECT_EQ(lowestRow, kGroundRow - 2);
    EXPECT_EQ(playerRow, kGroundRow - 1);
    EXPECT_EQ(playerJumping, 0);
}

TEST_F(PlayerTest, WallsStopThePlayerWhileTheWalkPlaysOn) {
    mapSolid(11, kGroundRow - 1) = 1;
    playerOffsetX = 70;
    playerState = 1;
    keyRightLatch = kTrue;
    Frame();
    for (int i = 0; i < 10; ++i)
        Frame();
    EXPECT_EQ(playerCol, 10);
    EXPECT_EQ(playerOffsetX, 73);
    EXPECT_EQ(playerFrame, 17);  // walk right 6..35 goes on in place

    mapSolid(9, kGroundRow - 1) = 1;
    playerOffsetX = 2;
    playerState = 3;
    playerBusy = 0;
    keyLeftLatch = kTrue;
    Frame();
    for (int i = 0; i < 4; ++i)
        Frame();
    EXPECT_EQ(playerCol, 10);
    EXPECT_EQ(playerOffsetX, -1);
    EXPECT_EQ(playerFrame, 48);
}

TEST_F(PlayerTest, WalkingOffALedgeFallsInTheSameFrameFourPixelsAFrame) {
    for (int c = 11; c <= 20; ++c)
        mapSolid(c, kGroundRow) = 0;
    for (int c = 11; c <= 20; ++c)
        mapSolid(c, kGroundRow + 3) = 1;
    playerOffsetX = 72;
    playerState = 1;
    keyRightLatch = kTrue;
    Frame();
    EXPECT_EQ(playerCol, 11);
    EXPECT_EQ(playerFalling, kTrue);
    EXPECT_EQ(playerOffsetY, 44);
    EXPECT_EQ(inputBlocked, kTrue);
    Frame();
    EXPECT_EQ(playerOffsetY, 48);

    const int landings = sound016->PlayCount();
    for (int i = 0; i < 100 && playerFalling != 0; ++i)
        Frame();
    EXPECT_EQ(playerRow, kGroundRow + 2);
    EXPECT_EQ(playerOffsetY, 40);
    EXPECT_EQ(sound016->PlayCount(), landings + 1);
    EXPECT_EQ(sound016->Frequency(), 40000);
    EXPECT_EQ(sound016->Volume(), -1000);
    EXPECT_EQ(inputBlocked, kTrue);  // also in the frame of the landing
    ApplyGravity();
    EXPECT_EQ(inputBlocked, 0);
}

TEST_F(PlayerTest, NoFallHighInTheCell) {
    mapSolid(10, kGroundRow) = 0;
    playerOffsetY = 39;
    ApplyGravity();
    EXPECT_EQ(playerFalling, 0);
    EXPECT_EQ(playerOffsetY, 39);
    playerOffsetY = 39.5;
    ApplyGravity();
    EXPECT_EQ(playerFalling, kTrue);
}

TEST_F(PlayerTest, BeamPoseHoldsItsLastFrame) {
    keyShiftLatch = kTrue;
    Frame();
    EXPECT_EQ(beamActive, kTrue);
    EXPECT_EQ(beamRequested, kTrue);
    EXPECT_EQ(playerFrame, 275);
    for (int i = 0; i < 10; ++i)
        Frame();
    EXPECT_EQ(playerFrame, 279);
    EXPECT_EQ(playerBusy, kTrue);
    EXPECT_EQ(playerState, 0);

    playerFacing = 1;
    playerFrame = 0;
    playerBusy = 0;
    keyShiftLatch = kTrue;
    keyRightLatch = kTrue;  // Shift comes first
    UpdatePlayerMotion();
    EXPECT_EQ(playerFrame, 268);
    EXPECT_EQ(playerFacing, 1);
}

TEST_F(PlayerTest, LosingALifeReturnsToTheSignpostAtRest) {
    signpostCol = 4;
    signpostRow = 7;
    lives = 0;
    playerFacing = 1;
    playerJumping = kTrue;
    playerFalling = kTrue;
    playerBusy = kTrue;
    playerState = 3;
    playerNextState = 3;
    playerFrame = 50;
    keyUpLatch = kTrue;
    LoseLife();
    EXPECT_EQ(lives, -1);
    EXPECT_EQ(gameLost, kTrue);
    EXPECT_EQ(playerCol, 4);
    EXPECT_EQ(playerRow, 7);
    EXPECT_EQ(playerOffsetX, 35);
    EXPECT_EQ(playerOffsetY, 40);
    EXPECT_EQ(playerJumping, 0);
    EXPECT_EQ(playerFalling, 0);
    EXPECT_EQ(playerBusy, 0);
    EXPECT_EQ(playerState, 0);
    EXPECT_EQ(playerNextState, 0);
    EXPECT_EQ(playerFrame, 0);
    EXPECT_EQ(keyUpLatch, 0);
    EXPECT_EQ(keyDelay, 100);
    EXPECT_EQ(playerFacing, 1);
    EXPECT_EQ(sound027->PlayCount(), 1);

    lives = 3;
    gameLost = 0;
    LoseLife();
    LoseLife();
    EXPECT_EQ(lives, 1);
    EXPECT_EQ(gameLost, 0);
    EXPECT_EQ(sound027->PlayCount(), 3);
}

TEST_F(PlayerTest, ExtraLifeEveryTenThousandUpToSix) {
    lives = 3;
    score = 9999;
    CheckExtraLife();
    EXPECT_EQ(lives, 3);
    EXPECT_EQ(extraLifeLevel, 0);

    score = 25000;  // two marks at once give one life
    CheckExtraLife();
    EXPECT_EQ(lives, 4);
    EXPECT_EQ(extraLifeLevel, 2);
    EXPECT_EQ(sound023->PlayCount(), 1);
    CheckExtraLife();
    EXPECT_EQ(lives, 4);

    lives = 6;
    score = 30000;  // the mark is used up even with six lives
    CheckExtraLife();
    EXPECT_EQ(lives, 6);
    EXPECT_EQ(extraLifeLevel, 3);
    EXPECT_EQ(sound023->PlayCount(), 1);
    lives = 5;
    CheckExtraLife();
    EXPECT_EQ(lives, 5);
}

}  // namespace
}  // namespace zorvik::test
