// SPDX-License-Identifier: GPL-3.0-or-later
// The player: action choice and timed step, animation-frame rectangles, gravity, death and
// extra lives.
#include "D_sub.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "A_deklarace.h"
#include "Numbers.h"

namespace zorvik {

namespace {

constexpr double kPi = 3.14159265358979;

// The sine of a jump's angle in degrees. Every jump passes the same few dozen angles, and the
// prover plays millions of jumps, so the last results are kept by the angle's exact value.
double JumpSine(double angleDegrees) {
    struct Known {
        uint64_t angle = ~0ull;  // the angle's bits (this pattern is a NaN, whose sine is NaN)
        double sine = std::numeric_limits<double>::quiet_NaN();
    };
    static std::array<Known, 512> known;
    uint64_t bits = 0;
    std::memcpy(&bits, &angleDegrees, sizeof bits);
    Known& slot = known[static_cast<size_t>((bits * 0x9E3779B97F4A7C15ull) >> 55)];
    if (slot.angle != bits) slot = {bits, std::sin(angleDegrees * kPi / 180)};
    return slot.sine;
}

// One row of the action table: the animation an action plays and how it moves the player.
struct Action {
    int16_t first;
    int16_t end;
    int16_t step;
    int16_t drawX;
    int16_t drawY;
    double speedX;
    uint8_t nextState;
};

constexpr Action kNormalJumpLeft{162, 187, 1, -49, -45, -4, 0};
constexpr Action kNormalJumpRight{136, 161, 1, -22, -45, 4, 0};
constexpr Action kLongJumpRight{188, 227, 1, -30, -45, 5, 0};
constexpr Action kLongJumpLeft{228, 267, 1, -62, -45, -5, 0};
constexpr Action kBeamPoseLeft{268, 273, 1, -31, -45, 0, 0};
constexpr Action kBeamPoseRight{274, 279, 1, -26, -45, 0, 0};
constexpr Action kStartWalkRight{0, 6, 1, -25, -45, 1, 1};
constexpr Action kTurnRight{125, 135, 1, -35, -42, 0, 0};
constexpr Action kStartWalkLeft{36, 42, 1, -35, -45, -1, 3};
constexpr Action kTurnLeft{114, 124, 1, -26, -42, 0, 0};
constexpr Action kRunRight{72, 92, 1, -29, -48, 3, 1};
constexpr Action kWalkRight{6, 35, 1, -25, -45, 1, 1};
constexpr Action kStopWalkRight{6, 0, -1, -25, -45, 1, 0};
constexpr Action kRunLeft{93, 113, 1, -44, -48, -3, 3};
constexpr Action kWalkLeft{43, 71, 1, -35, -45, -1, 3};
constexpr Action kStopWalkLeft{42, 36, -1, -35, -45, -1, 0};

void StartAction(const Action& a) {
    playerFrame = a.first;
    playerFrameEnd = a.end;
    playerFrameStep = a.step;
    playerDrawOffsetX = a.drawX;
    playerDrawOffsetY = a.drawY;
    playerSpeedX = a.speedX;
    playerSpeedY = 0;
    playerNextState = a.nextState;
    playerBusy = kTrue;
}

void StartJump(const Action& a, double angleStep, int16_t height) {
    StartAction(a);
    playerJumping = kTrue;
    jumpAngleStep = angleStep;
    jumpHeight = height;
    jumpAngle = 0;
}

// The looping rolling sound of walking (67000 Hz) and running (80000 Hz).
void PlayRollingSound(int32_t hz) {
    sound021->SetFrequency(hz);
    sound021->Play(dx::DSBPLAY_LOOPING);
}

// Play before Stop leaves the buffer silent whatever it was doing.
void SilenceRollingSound() {
    sound021->Play(0);
    sound021->Stop();
}

void PlayLandingSound() {
    sound016->SetVolume(-1000);
    sound016->SetFrequency(40000);
    sound016->Play(0);
}

bool Latched(int16_t latch) {
    return latch == kTrue;
}

void ChooseAction() {
    if (Latched(keyUpLatch) && playerJumping == 0 && beamActive == 0) {
        // A jump may replace whatever animation runs.
        if (keyCtrlLatch == 0) {
            if (playerFacing == 1) {
                StartJump(kNormalJumpLeft, 14.4, 10);
            } else {
                StartJump(kNormalJumpRight, 14.4, 10);
            }
            return;
        }
        if (Latched(keyCtrlLatch)) {
            if (playerFacing == 2) {
                StartJump(kLongJumpRight, 9.2, 15);
            } else {
                StartJump(kLongJumpLeft, 9.2, 15);
            }
            return;
        }
    }
    if (playerBusy != 0) return;

    // Every block tests the state of the frame's start; with Left and Right both latched the
    // Left block runs last and wins.
    const uint8_t s = playerState;
    if (s == 0) {
        if (Latched(keyShiftLatch)) {
            StartAction(playerFacing == 1 ? kBeamPoseLeft : kBeamPoseRight);
            beamRequested = kTrue;
            beamActive = kTrue;
            return;
        }
        if (Latched(keyRightLatch)) {
            if (playerFacing == 2) {
                StartAction(kStartWalkRight);
            } else {
                StartAction(kTurnRight);
                playerFacing = 2;
            }
        }
    }
    if (s == 1) {
        if (Latched(keyRightLatch) && Latched(keyCtrlLatch)) {
            StartAction(kRunRight);
            PlayRollingSound(80000);
        } else if (Latched(keyRightLatch)) {
            StartAction(kWalkRight);
            PlayRollingSound(67000);
        } else {
            StartAction(kStopWalkRight);
        }
    }
    if (s == 0 && Latched(keyLeftLatch)) {
        if (playerFacing == 1) {
            StartAction(kStartWalkLeft);
        } else {
            StartAction(kTurnLeft);
            playerFacing = 1;
        }
    }
    if (s == 3) {
        if (Latched(keyLeftLatch) && Latched(keyCtrlLatch)) {
            StartAction(kRunLeft);
            PlayRollingSound(80000);
        } else if (Latched(keyLeftLatch)) {
            StartAction(kWalkLeft);
            PlayRollingSound(67000);
        } else {
            StartAction(kStopWalkLeft);
        }
    }
}

// One animation step with the move it carries: walls stop the player, rows change freely (so a
// jump passes through a ceiling).
void StepAnimation() {
    playerFrame = static_cast<int16_t>(playerFrame + playerFrameStep);
    if (playerJumping != 0) {
        SilenceRollingSound();
        jumpAngle += jumpAngleStep;
        playerSpeedY = -(jumpHeight * JumpSine(jumpAngle));
    }
    playerOffsetY += playerSpeedY;
    playerOffsetX += playerSpeedX;

    bool stoppedLeft = false;
    if (playerOffsetX < 0) {
        if (mapSolid(playerCol - 1, playerRow) == 0) {
            playerOffsetX += kCell;
            --playerCol;
        } else {
            playerOffsetX = -1;
            stoppedLeft = true;
        }
    }
    if (!stoppedLeft && playerOffsetX > 72) {
        if (mapSolid(playerCol + 1, playerRow) == 0) {
            playerOffsetX -= kCell;
            ++playerCol;
        } else {
            playerOffsetX = 73;
        }
    }

    if (playerOffsetY < 0) {
        playerOffsetY += kCell;
        --playerRow;
    }
    if (playerOffsetY > 72) {
        playerOffsetY -= kCell;
        ++playerRow;
    }

    if (playerFrame == playerFrameEnd) {
        // The last frames of the beam pose are held until the beam reverses the pose.
        playerBusy = (playerFrame == 273 || playerFrame == 279) ? kTrue : kFalse;
        playerState = playerNextState;
        playerFrameStep = 0;
        playerJumping = 0;
        playerSpeedX = 0;
        playerSpeedY = 0;
    }
}

void AdvancePickupCounters() {
    starTick = static_cast<int16_t>((starTick + 1) % 4);
    if (starTick == 0) starFrame = static_cast<int16_t>((starFrame + 1) % 10);
    bonusTick = static_cast<int16_t>((bonusTick + 1) % 2);
    if (bonusTick == 0) bonusFrame = static_cast<int16_t>((bonusFrame + 1) % 20);
}

}  // namespace

void UpdatePlayerMotion() {
    ChooseAction();
    keyLeftLatch = keyRightLatch = keyUpLatch = keyCtrlLatch = keyShiftLatch = 0;

    // Elapsed time in wrapping 32-bit arithmetic, so a wrap of the clock costs one step at most.
    const uint32_t elapsed = dx::timeGetTime() - static_cast<uint32_t>(lastStepTime);
    if (static_cast<int64_t>(elapsed) <= stepInterval) return;
    lastStepTime = static_cast<int32_t>(dx::timeGetTime());

    if (playerBusy != 0) {
        StepAnimation();
    } else {
        SilenceRollingSound();
    }
    AdvancePickupCounters();
}

void UpdatePlayerFrameRect() {
    const int32_t f = playerFrame;
    auto set = [](int32_t left, int32_t top, int32_t width, int32_t height) {
        playerSrcRect = dx::RECT{left, top, left + width, top + height};
    };
    if (f >= 0 && f <= 35) {
        set(54 * f, 0, 54, 100);
    } else if (f >= 36 && f <= 71) {
        set(54 * (f - 36), 100, 54, 100);
    } else if (f >= 72 && f <= 92) {
        set(64 * (f - 72), 202, 64, 105);
    } else if (f >= 93 && f <= 113) {
        set(64 * (f - 93), 309, 64, 105);
    } else if (f >= 114 && f <= 124) {
        set(1344 + 54 * (f - 114), 202, 54, 96);
    } else if (f >= 125 && f <= 135) {
        set(1344 + 54 * (f - 125), 309, 54, 96);
    } else if (f >= 136 && f <= 161) {
        set(64 * (f - 136), 416, 64, 98);
    } else if (f >= 162 && f <= 187) {
        set(64 * (f - 162), 516, 64, 98);
    } else if (f >= 188 && f <= 227) {
        set(83 * ((f - 188) % 22), 615 + 99 * ((f - 188) / 22), 83, 98);
    } else if (f >= 228 && f <= 267) {
        set(83 * ((f - 228) % 22), 813 + 99 * ((f - 228) / 22), 83, 98);
    } else if (f >= 268 && f <= 273) {
        set(328 + 55 * (f - 268), 1011, 55, 97);
    } else if (f >= 274 && f <= 279) {
        set(55 * (f - 274), 1011, 55, 97);
    }
    // Any other frame number leaves the rectangle as it was.
}

void ApplyGravity() {
    inputBlocked = 0;
    if (playerFalling != 0 ||
        (mapSolid(playerCol, playerRow + 1) == 0 && playerJumping == 0 && playerOffsetY > 39)) {
        playerFalling = kTrue;
        SilenceRollingSound();
        for (int i = 0; i < 4; ++i) {
            playerOffsetY += 1;
            if (playerOffsetY > 72) {
                playerOffsetY -= kCell;
                ++playerRow;
            }
            if (playerOffsetY > 40 && mapSolid(playerCol, playerRow + 1) > 0) {
                playerOffsetY = 40;
                playerFalling = 0;
                PlayLandingSound();
                break;
            }
        }
        inputBlocked = kTrue;
    }
    // The descending half of a jump lands on ground; its animation plays on without moving.
    if (playerSpeedY > 0 && playerJumping != 0 && playerOffsetY > 39 &&
        mapSolid(playerCol, playerRow + 1) > 0) {
        playerJumping = 0;
        playerSpeedX = 0;
        playerSpeedY = 0;
        playerOffsetY = 40;
        PlayLandingSound();
    }
}

void StopPlayer() {
    playerJumping = kFalse;
    playerFalling = kFalse;
    playerBusy = kFalse;
    playerFrame = 0;
    playerState = 0;
    playerNextState = 0;
    keyLeftLatch = keyRightLatch = keyUpLatch = keyCtrlLatch = keyShiftLatch = kFalse;
}

void LoseLife() {
    lives = static_cast<int16_t>(lives - 1);
    if (lives == -1) gameLost = kTrue;  // the rest still runs; the loop ends after this frame

    playerCol = signpostCol;
    playerRow = signpostRow;
    playerOffsetX = 35;
    playerOffsetY = 40;

    StopPlayer();

    keyDelay = 100;
    sound027->Play(0);
}

void CheckExtraLife() {
    const int16_t q = ToInt16(std::floor(score / 10000.0));
    if (q > extraLifeLevel) {
        extraLifeLevel = q;
        if (lives < 6) {
            lives = static_cast<int16_t>(lives + 1);
            sound023->Play(0);
        }
    }
}

}  // namespace zorvik
