// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing of a game frame: background and parallax, camera and tile layer on the canvas,
// the player sprite with pickups and level transitions, and the beam.
#include "F_Vykresli.h"

#include <cstdlib>

#include "A_deklarace.h"
#include "D_sub.h"
#include "E_load.h"
#include "G_Objekty.h"
#include "I_Nepratele.h"
#include "Numbers.h"
#include "Z_Exit.h"

namespace zorvik {

bool PlayerPressesPlatform(const PlayState& p, int col, int row) {
    return col == p.playerCol && row == p.playerRow + 1 && p.playerOffsetY > 38;
}

namespace {

constexpr int32_t kOpaque = dx::DDBLTFAST_WAIT;
constexpr int32_t kKeyed = dx::DDBLTFAST_SRCCOLORKEY | dx::DDBLTFAST_WAIT;
constexpr int32_t kMaxScore = 9999999;

// The canvas holds 12 x 10 cells; its window (72, 72)-(712, 552) is the screen.
constexpr dx::RECT kCanvasRect{0, 0, 804, 658};
constexpr dx::RECT kCanvasWindow{72, 72, 712, 552};

void Blit(dx::SurfacePtr& target, int32_t x, int32_t y, dx::SurfacePtr& source,
          const dx::RECT& rect, int32_t flags) {
    target->BltFast(x, y, source.get(), rect, flags);
}

// A pressed platform opens its board and a released one closes it again; a platform a stone
// rests on (negative tile code) stays pressed.
void ApplyPlatformRule(int c, int r) {
    const int16_t tile = mapTiles(c, r);
    const int t = std::abs(tile);
    if (t != 14 && t != 15) return;
    const int64_t link = std::llabs(static_cast<int64_t>(mapItems(c, r)));
    if (link >= static_cast<int64_t>(boards.size())) return;  // no such board: left alone
    Board& board = boards[static_cast<size_t>(link)];
    const bool playerOnIt = PlayerPressesPlatform(state.play, c, r);

    if (t == 14 && (playerOnIt || tile < 0)) {
        mapTiles(c, r) = static_cast<int16_t>(tile < 0 ? -15 : 15);
        board.openRequest = kTrue;
        sound025->SetFrequency(30000);
        sound025->Play(0);
    }
    if (t == 15 && !playerOnIt && tile > 0) {
        mapTiles(c, r) = 14;
        board.closeRequest = kTrue;
        sound025->SetFrequency(50000);
        sound025->Play(0);
    }
}

// Stars and the beam refill of a cell, opaque: their black surroundings vanish only when the
// canvas is keyed onto the back buffer.
void DrawPickups(int c, int r, int32_t x0, int32_t y0) {
    const int32_t code = mapItems(c, r);
    const int32_t sx = 46 * starFrame;
    if (code == 40)
        Blit(tileCanvas, x0 + 13, y0 + 13, objectSheet, {sx + 18, 86, sx + 63, 130}, kOpaque);
    if (code == 51)
        Blit(tileCanvas, x0 + 13, y0 + 13, objectSheet, {sx + 18, 196, sx + 63, 240}, kOpaque);
    if (code == 52)
        Blit(tileCanvas, x0 + 13, y0 + 13, objectSheet, {sx + 18, 241, sx + 63, 285}, kOpaque);
    if (code == 53) {
        const int32_t bx = 23 * bonusFrame;
        Blit(tileCanvas, x0 + 13, y0 + 13, objectSheet, {bx + 20, 285, bx + 42, 319}, kOpaque);
    }
}

void DrawTile(int c, int r, int32_t x0, int32_t y0) {
    const int32_t t = std::abs(mapTiles(c, r));
    if (t < 1) return;
    // Codes above 20 fall outside the two rows of the sheet and draw nothing.
    const int32_t sx = (t - 1) % 10 * kCell;
    const int32_t sy = (t - 1) / 10 * kCell;
    Blit(tileCanvas, x0, y0, tileSheet, {sx, sy, sx + kCell, sy + kCell}, kOpaque);
}

// Goal and signposts reach above their cell's tile, so they are drawn with the row below
// them; (x0, y0) is the origin of their own cell.
void DrawTallObjects(int c, int r, int32_t x0, int32_t y0) {
    const int32_t code = mapItems(c, r);
    if (code == 900) Blit(tileCanvas, x0 + 13, y0 + 42, objectSheet, {524, 198, 584, 243}, kKeyed);
    if (code == 54) Blit(tileCanvas, x0 + 13, y0 + 11, objectSheet, {520, 0, 572, 68}, kKeyed);
    if (code == 55) Blit(tileCanvas, x0 + 13, y0 + 11, objectSheet, {573, 0, 625, 68}, kKeyed);
}

void PlaceCamera() {
    cameraFineX = ToInt16(playerOffsetX);
    cameraFineY = ToInt16(playerOffsetY);
    cameraClampedX = 0;
    cameraClampedY = 0;

    cameraCol = static_cast<int16_t>(playerCol - 5);
    if (cameraCol < 0) {
        cameraCol = 0;
        cameraFineX = 0;
        cameraClampedX = kTrue;
    }
    if (cameraCol > 40) {
        cameraCol = 41;
        cameraFineX = 0;
        cameraClampedX = kTrue;
    }
    cameraRow = static_cast<int16_t>(playerRow - 4);
    if (cameraRow < 0) {
        cameraRow = 0;
        cameraFineY = 0;
        cameraClampedY = kTrue;
    }
    if (cameraRow > 10) {
        cameraRow = 11;
        cameraFineY = 0;
        cameraClampedY = kTrue;
    }
}

void TakeStar(int c, int r, int32_t points) {
    mapItems(c, r) = 0;
    score += points;
    sounds019[static_cast<size_t>(pickupSoundIndex)]->Play(0);
    pickupSoundIndex = static_cast<int16_t>((pickupSoundIndex + 1) % 5);
    CheckExtraLife();
}

void LeaveLevel() {
    if (!testLevelPath.empty()) {
        levelLeft = kTrue;  // test-play ends where the level is left, after this frame
        return;
    }
    levelNumber = static_cast<int16_t>(levelNumber + 1);
    StopPlayer();
    keyDelay = 100;
    sound017->Play(0);
    LoadLevel();
}

// The object in the player's cell; each test reads the cell afresh.
void ApplyPickups() {
    const int c = playerCol;
    const int r = playerRow;
    if (mapItems(c, r) == 40) TakeStar(c, r, 100);
    if (mapItems(c, r) == 51) TakeStar(c, r, 500);
    if (mapItems(c, r) == 52) TakeStar(c, r, 2500);
    if (score > kMaxScore) score = kMaxScore;
    if (mapItems(c, r) == 53 && beamCharges < 6) {
        beamCharges = static_cast<int16_t>(beamCharges + 2);
        mapItems(c, r) = 0;
        sound013->Play(0);
    }
    if (mapItems(c, r) == 54) {
        mapItems(signpostCol, signpostRow) = 54;
        mapItems(c, r) = 55;
        signpostCol = static_cast<int16_t>(c);
        signpostRow = static_cast<int16_t>(r);
    }
    if (mapItems(c, r) == 900) levelWon = kTrue;
    if (mapItems(c, r) == 997) LeaveLevel();
}

}  // namespace

void DrawBackground() {
    if (dx::DryRun()) return;  // pixels only: the prover skips them
    Blit(backBuffer, 0, 0, backgroundImage, {0, 0, 640, 480}, kOpaque);
    if (detailLevel == 2) return;
    // A third of the camera position of the previous frame: the strip scrolls slower.
    const int32_t x = ToInt32((cameraCol * kCell + cameraFineX) / 3.0);
    Blit(backBuffer, 0, 229, parallaxStrip, {x, 0, x + 640, 251}, kKeyed);
}

void DrawWorld() {
    tileCanvas->BltColorFill(kCanvasRect, 0);
    PlaceCamera();

    const int col0 = cameraCol;
    const int row0 = cameraRow;
    if (dx::DryRun()) {
        // Nothing is drawn (the prover): only the platform rule needs the cells in view.
        for (const auto& [c, r] : PlatformCells())
            if (c >= col0 && c < col0 + 12 && r >= row0 && r < row0 + 10) ApplyPlatformRule(c, r);
    } else {
        const int fineX = cameraFineX;
        const int fineY = cameraFineY;
        for (int i = 0; i < 10; ++i) {
            const int r = row0 + i;
            for (int j = 0; j < 12; ++j) {
                const int c = col0 + j;
                const int32_t x0 = j * kCell - fineX;
                const int32_t y0 = i * kCell - fineY;
                ApplyPlatformRule(c, r);
                DrawPickups(c, r, x0, y0);
                DrawTile(c, r, x0, y0);
                if (r > 1) DrawTallObjects(c, r - 1, x0, y0 - kCell);
            }
        }
    }

    UpdateBoards();
    UpdateStones();
    UpdateFlexEnemies();
    UpdateFigureEnemies();

    Blit(backBuffer, 0, 0, tileCanvas, kCanvasWindow, kKeyed);
}

void DrawPlayerAndPickups() {
    if (playerCol < 2) {
        playerCol = 2;
        playerOffsetX = 0;
    }
    if (playerCol > 49) {
        playerCol = 50;  // held at the left edge of the last column
        playerOffsetX = 0;
    }
    if (playerRow < 0) playerRow = 0;
    if (playerRow > 17) LoseLife();  // dropped into the bottom row of the map

    // While the camera follows the player its offset is already in the scroll; only a camera
    // held at an edge leaves it to the sprite.
    int32_t x = (playerCol - cameraCol - 1) * kCell + playerDrawOffsetX;
    if (cameraClampedX != 0) x = ToInt32(x + playerOffsetX);
    int32_t y = (playerRow - cameraRow - 1) * kCell + playerDrawOffsetY;
    if (cameraClampedY != 0) y = ToInt32(y + playerOffsetY);
    if (y < 0) y = 0;
    Blit(backBuffer, x, y, playerSheet, playerSrcRect, kKeyed);

    DrawBeam();
    ApplyPickups();
}

}  // namespace zorvik
