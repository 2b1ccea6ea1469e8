// SPDX-License-Identifier: GPL-3.0-or-later
// The enemies: flexible (crawling) and figure (walking) enemies, moved, drawn onto the canvas
// and tested against the player once per frame.
#include "I_Nepratele.h"

#include <cmath>
#include <cstdlib>

#include "A_deklarace.h"
#include "D_sub.h"
#include "Numbers.h"

namespace zorvik {

namespace {

constexpr int32_t kKeyed = dx::DDBLTFAST_SRCCOLORKEY | dx::DDBLTFAST_WAIT;

// Cells outside the map arrays count as walls, so no enemy record can reach past them.
int SolidAt(int col, int row) {
    if (col < 0 || col >= kMapCols || row < 0 || row >= kMapRows) return 1;
    return mapSolid(col, row);
}

// An enemy may step into a cell that has ground beneath it and is not a wall itself.
bool Walkable(int col, int row) {
    return SolidAt(col, row + 1) != 0 && SolidAt(col, row) != 1;
}

// The player's position is read afresh for every enemy: LoseLife moves the player to the
// red signpost, and later enemies test that new position in the same frame.
double PlayerWorldX() {
    return playerCol * static_cast<double>(kCell) + playerOffsetX;
}

void DrawEnemy(dx::DirectDrawSurface7* sheet, const dx::RECT& source, int col, int row, int xInCell,
               int yOffset, int extraX) {
    const int x = (col - cameraCol) * kCell + xInCell - cameraFineX + extraX;
    const int y = (row - cameraRow) * kCell + yOffset - cameraFineY;
    tileCanvas->BltFast(x, y, sheet, source, kKeyed);
}

void StepFlexEnemy(FlexEnemy& e) {
    e.frame = static_cast<int16_t>(e.frame + e.dir);
    e.worldX += 3.7 * e.dir;
    // Probe the cell under the leading edge; only one direction is tested per step.
    if (e.dir == 1) {
        const int c = FloorToInt(e.worldX / kCell);
        if (!Walkable(c, e.row)) e.dir = -1;
    } else if (e.dir == -1) {
        const int c = FloorToInt((e.worldX - 35) / kCell);
        if (!Walkable(c, e.row)) e.dir = 1;
    }
    // The picture runs through its ten frames from a fixed anchor, then the anchor jumps.
    if (e.frame > 9) {
        e.frame = 0;
        e.xInCell = static_cast<int16_t>(e.xInCell + 37);
        if (e.xInCell > 73) {
            e.xInCell = static_cast<int16_t>(e.xInCell - 73);
            e.col = static_cast<int16_t>(e.col + 1);
        }
    }
    if (e.frame < 0) {
        e.frame = 9;
        e.xInCell = static_cast<int16_t>(e.xInCell - 37);
        if (e.xInCell < 0) {
            e.xInCell = static_cast<int16_t>(e.xInCell + 73);
            e.col = static_cast<int16_t>(e.col - 1);
        }
    }
}

void UpdateFlexEnemy(int i) {
    FlexEnemy& e = flexEnemies[static_cast<size_t>(i)];
    const int period = e.period > 0 ? e.period : 1;
    int tick = e.tick + 1;
    if (tick == period) {
        tick = 0;
    } else if (tick > period || tick < 0) {
        tick %= period;  // only a count the map started out of range
    }
    e.tick = static_cast<int16_t>(tick);
    if (e.tick == 0) StepFlexEnemy(e);

    // Far from the player an enemy moves but is neither drawn, heard nor able to hit.
    if (std::abs(playerRow - e.row) >= 5 || std::abs(playerCol - e.col) >= 8) return;

    if (e.frame == 5) {
        // Louder the closer the body is to the player; a buffer still playing continues.
        const double d = RoundHalfEven(std::fabs(PlayerWorldX() - e.worldX));
        const dx::SoundBufferPtr& crawl = sounds015[static_cast<size_t>(i)];
        crawl->SetVolume(static_cast<int32_t>(-5 * d));
        crawl->Play(0);
    }

    const double px = PlayerWorldX();
    if (playerRow == e.row && playerOffsetY > 10 && px - 43 < e.worldX && e.worldX < px + 43) {
        LoseLife();
    }

    DrawEnemy(objectSheet.get(), dx::RECT{65 * e.frame + 20, 130, 65 * e.frame + 84, 195}, e.col,
              e.row, e.xInCell, e.yOffset, 0);
}

void StepFigureEnemy(FigureEnemy& e) {
    e.state = 1;
    const bool near = std::abs(playerCol - e.col) <= 5;
    if (near) {
        const int toPlayer = playerCol - e.col;
        e.dir = static_cast<int16_t>(toPlayer > 0 ? 1 : (toPlayer < 0 ? -1 : e.lastDir));
        e.lastDir = e.dir;
    }

    // Turn (or, near the player, stand) at the middle of the last walkable cell.
    const bool right = e.dir == 1;
    const int aheadCol = right ? e.col + 1 : e.col - 1;
    const bool atObstacle = right ? e.xInCell > 35 : e.xInCell < 36;
    if (!Walkable(aheadCol, e.row) && atObstacle) {
        if (near) {
            e.state = 2;
        } else {
            e.dir = static_cast<int16_t>(-e.dir);
        }
    }

    if (e.state == 1) {
        e.xInCell = static_cast<int16_t>(e.xInCell + 3 * e.dir);
        e.worldX = static_cast<int16_t>(e.worldX + 3 * e.dir);
        if (e.xInCell > 73) {
            e.xInCell = static_cast<int16_t>(e.xInCell - 73);
            e.col = static_cast<int16_t>(e.col + 1);
        }
        if (e.xInCell < 0) {
            e.xInCell = static_cast<int16_t>(e.xInCell + 73);
            e.col = static_cast<int16_t>(e.col - 1);
        }
        e.frame = static_cast<int16_t>(e.frame + 1 > 19 ? 0 : e.frame + 1);
    }
    if (e.state == 2) {
        e.frame = static_cast<int16_t>(e.frame + 1 > 9 ? 0 : e.frame + 1);
    }
}

void DrawFigureEnemy(const FigureEnemy& e) {
    const int f = e.frame;
    dx::RECT source;
    int extraX = 0;
    if (e.state == 2) {
        if (e.dir == 1) {
            source = dx::RECT{61 * f, 181, 61 * f + 61, 272};
            extraX = 15 - 23;
        } else if (e.dir == -1) {
            source = dx::RECT{64 * f, 272, 64 * f + 64, 363};
            extraX = -20 - 23;
        } else {
            return;  // no direction, no picture
        }
    } else {
        if (e.dir == 1) {
            source = dx::RECT{55 * f, 0, 55 * f + 55, 90};
        } else if (e.dir == -1) {
            source = dx::RECT{55 * f, 91, 55 * f + 55, 181};
        } else {
            return;
        }
        extraX = -23;
    }
    DrawEnemy(enemySheet.get(), source, e.col, e.row, e.xInCell, e.yOffset, extraX);
}

void UpdateFigureEnemy(FigureEnemy& e) {
    e.tick = static_cast<int16_t>((e.tick + 1) % 5);
    if (e.tick == 0) StepFigureEnemy(e);

    DrawFigureEnemy(e);

    double px = RoundHalfEven(PlayerWorldX());
    if (px - 40 < e.worldX && e.worldX < px + 40 && playerRow == e.row) {
        LoseLife();
    }
    // A player in the row above is caught only low in its cell, where its feet reach down.
    px = RoundHalfEven(PlayerWorldX());
    if (px - 40 < e.worldX && e.worldX < px + 40 && playerRow + 1 == e.row && playerOffsetY > 40) {
        LoseLife();
    }
}

}  // namespace

void UpdateFlexEnemies() {
    const int count = flexEnemyCount;
    for (int i = 1; i <= count && i < static_cast<int>(flexEnemies.size()); ++i) {
        UpdateFlexEnemy(i);
    }
}

void UpdateFigureEnemies() {
    const int count = figureEnemyCount;
    for (int i = 1; i <= count && i < static_cast<int>(figureEnemies.size()); ++i) {
        FigureEnemy& e = figureEnemies[static_cast<size_t>(i)];
        if (e.alive == 0) continue;  // destroyed by the beam for the rest of the level
        UpdateFigureEnemy(e);
    }
}

}  // namespace zorvik
