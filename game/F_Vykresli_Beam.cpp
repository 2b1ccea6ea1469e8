// SPDX-License-Identifier: GPL-3.0-or-later
// The beam part of the drawing module: the bolt the player fires with Shift, its charge, its
// flickering lines, what stops it and the end of the cast pose.
#include <algorithm>
#include <cmath>

#include "A_deklarace.h"
#include "F_Vykresli.h"
#include "Numbers.h"

namespace zorvik {

namespace {

constexpr int kCastLeftLast = 273;   // last frame of the cast facing left (268..273)
constexpr int kCastRightLast = 279;  // last frame of the cast facing right (274..279)

// Takes the charge on the first call of a cast. Returns false when the shot fizzles.
bool TakeCharge() {
    if (beamRequested != -1) return true;
    beamRequested = kFalse;
    if (beamCharges == 0) {
        beamActive = kFalse;
        sound014->Play(0);
        return false;
    }
    beamCharges = static_cast<int16_t>(beamCharges - 2);
    sound022->Play(0);
    return true;
}

void StopBeam() {
    beamActive = kFalse;
    beamHead = 0;
    beamTail = 0;
}

// A fresh orange-red: R between 150 and 255, chosen anew for every line.
void SetLineColour(int green) {
    const int red = std::min(255, static_cast<int>(RoundHalfEven(150 + 142 * dx::Rnd())));
    backBuffer->SetForeColor(dx::RGB(red, green, 0));
}

int Px(double value) {
    return static_cast<int>(RoundHalfEven(value));
}

// The three lines of the bolt; the ends differ per side so the bolt looks the same both ways.
void DrawBolt(double bx, int y, bool right) {
    const int tailOuter = right ? -3 : -4;
    const int tailInner = right ? -2 : -5;
    const int headOuter = right ? -1 : 1;
    SetLineColour(90);
    backBuffer->DrawLine(Px(bx + beamTail + tailOuter), y, Px(bx + beamHead + headOuter), y);
    SetLineColour(70);
    backBuffer->DrawLine(Px(bx + beamTail + tailInner), y + 1, Px(bx + beamHead), y + 1);
    SetLineColour(90);
    backBuffer->DrawLine(Px(bx + beamTail + tailOuter), y + 2, Px(bx + beamHead + headOuter),
                         y + 2);
}

int SolidAt(int col, int row) {
    if (col < 0 || col >= kMapCols || row < 0 || row >= kMapRows) return 1;
    return mapSolid(col, row);
}

int BeamColumn() {
    return playerCol + FloorToInt((beamHead + playerOffsetX) / kCell);
}

void TestWall() {
    if (SolidAt(BeamColumn(), playerRow) == 1) StopBeam();
}

// Only figure enemies standing in the player's row can be hit; the loop goes on after a hit,
// so later enemies are tested in the player's own cell.
void TestCollisions() {
    const int count = figureEnemyCount;
    if (count <= 0) {
        TestWall();
        return;
    }
    for (int i = 1; i <= count && i < static_cast<int>(figureEnemies.size()); ++i) {
        FigureEnemy& e = figureEnemies[static_cast<size_t>(i)];
        if (BeamColumn() == e.col && e.row == playerRow && e.alive == -1) {
            e.alive = kFalse;
            StopBeam();
            sound024->Play(0);
        }
        TestWall();
    }
}

void FlyBeam() {
    // Origin as for the player sprite, without the sprite's draw offsets.
    double bx = (playerCol - cameraCol - 1) * kCell;
    if (cameraClampedX != 0) bx += playerOffsetX;
    double yExact = (playerRow - cameraRow - 1) * kCell - 26;
    if (cameraClampedY != 0) yExact += playerOffsetY;
    const int y = Px(yExact);

    if (playerFacing == 2) {
        beamHead = static_cast<int16_t>(beamHead + 5);
        if (beamHead > 35) beamTail = static_cast<int16_t>(beamTail + 5);
        DrawBolt(bx, y, true);
        if (bx + beamHead > 639) StopBeam();
    } else if (playerFacing == 1) {
        beamHead = static_cast<int16_t>(beamHead - 5);
        if (beamHead < -35) beamTail = static_cast<int16_t>(beamTail - 5);
        DrawBolt(bx, y, false);
        if (bx + beamHead < 1) StopBeam();
    }
    backBuffer->SetForeColor(dx::RGB(255, 0, 255));
    TestCollisions();
}

// Once the beam is over, the player animation plays the cast backwards to its first frame.
void EndCastPose() {
    if (beamActive != 0) return;
    if (playerFrame != kCastLeftLast && playerFrame != kCastRightLast) return;
    const bool left = playerFrame == kCastLeftLast;
    playerFrameEnd = static_cast<int16_t>(left ? 268 : 274);
    playerFrameStep = -1;
    playerDrawOffsetX = static_cast<int16_t>(left ? -31 : -26);
    playerDrawOffsetY = -45;
    playerSpeedX = 0;
    playerSpeedY = 0;
    playerNextState = 0;
    playerBusy = kTrue;
}

}  // namespace

void DrawBeam() {
    if (beamActive != 0 && TakeCharge()) FlyBeam();
    EndCastPose();
}

}  // namespace zorvik
