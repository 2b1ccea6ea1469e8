// SPDX-License-Identifier: GPL-3.0-or-later
// Moving objects: boards (gates over board housings) and stones, moved and drawn onto the
// canvas once per frame.
#include "G_Objekty.h"

#include "A_deklarace.h"

namespace zorvik {

namespace {

constexpr int32_t kKeyed = dx::DDBLTFAST_SRCCOLORKEY | dx::DDBLTFAST_WAIT;
constexpr int kCanvasHeight = 658;

bool InGrid(int col, int row) {
    return col >= 0 && col < kMapCols && row >= 0 && row < kMapRows;
}

// Cells outside the map arrays count as solid walls with an empty tile, so a damaged record
// can never reach past the arrays; the solid frame keeps well-formed levels inside anyway.
int SolidAt(int col, int row) {
    return InGrid(col, row) ? mapSolid(col, row) : 1;
}
int TileAt(int col, int row) {
    return InGrid(col, row) ? mapTiles(col, row) : 0;
}

void SetGateSolidity(const Board& b, int16_t value) {
    for (int r = b.topRow; r <= b.topRow + 2; ++r) {
        if (InGrid(b.column, r)) {
            mapSolid(b.column, r) = value;
        }
    }
}

void BlitToCanvas(int x, int y, const dx::RECT& source) {
    tileCanvas->BltFast(x, y, objectSheet.get(), source, kKeyed);
}

void UpdateBoard(Board& b) {
    if (b.openRequest != 0) {
        b.direction = -1;
        b.openRequest = kFalse;
        sound026->SetFrequency(7000);
        sound026->Play(dx::DSBPLAY_LOOPING);
    }
    // Handled second, so a close request wins over an open request of the same frame.
    if (b.closeRequest != 0) {
        b.direction = 1;
        b.closeRequest = kFalse;
        SetGateSolidity(b, 1);
        sound026->SetFrequency(8000);
        sound026->Play(dx::DSBPLAY_LOOPING);
    }

    // One gear tick shared by all boards: each board's wheel turns when the tick wraps
    // during its own turn.
    boardGearTick = static_cast<int16_t>((boardGearTick + 1) % 3);
    if (boardGearTick == 0) {
        int gear = b.gearFrame - b.direction;
        if (gear < 0) gear = 5;
        if (gear > 5) gear = 0;
        b.gearFrame = static_cast<int16_t>(gear);
    }
    b.height = static_cast<int16_t>(b.height + 2 * b.direction);

    const int gearX = (b.column - cameraCol) * kCell + 37 - cameraFineX;
    const int gearY = (b.topRow + 2 - cameraRow) * kCell + 30 - cameraFineY;
    BlitToCanvas(gearX, gearY, dx::RECT{49 * b.gearFrame, 30, 49 * b.gearFrame + 49, 83});

    // Any board arriving silences the shared motor sound, even while another still moves.
    if (b.height > kBoardClosedHeight) {
        b.direction = 0;
        b.height = kBoardClosedHeight;
        sound026->Play(0);
        sound026->Stop();
    }
    if (b.height < kBoardOpenHeight) {
        b.direction = 0;
        b.height = kBoardOpenHeight;
        SetGateSolidity(b, 0);
        sound026->Play(0);
        sound026->Stop();
    }

    // The bar's foot stays 14 pixels below the top of the housing; the part above or below
    // the canvas is cut off the source so the blit still fits.
    dx::RECT bar{0, 82, 18, 82 + b.height};
    const int barX = (b.column - cameraCol) * kCell + 26 - cameraFineX;
    int barY = (b.topRow - cameraRow) * kCell + 233 - b.height - cameraFineY;
    if (barY < 0) {
        bar.top -= barY;
        barY = 0;
    }
    if (barY + (bar.bottom - bar.top) > kCanvasHeight) {
        bar.bottom = bar.top + (kCanvasHeight - barY);
    }
    BlitToCanvas(barX, barY, bar);
}

// ---- Stones -----------------------------------------------------------------------------
//
// Every stone is in exactly one cell, (column, row), and no other stone ever enters it:
// - a stone rolling towards a cell that holds another stone (or a wall) bounces back before it
//   changes cell, so it never leaves its own cell and its return is never refused;
// - a resting stone is ground for the stones above it, as a solid cell is: a falling stone
//   lands on top of it, one cell up, and rolls off to a free side when there is one;
// - a falling stone waits at the bottom of its cell while the cell below still holds a stone
//   that is falling away.
// So every stone comes to rest centred in a cell of its own, and the marks (a negative tile
// code below each stone that is not falling) always match the stones.

// The other stone whose cell is (col, row), falling or not; nullptr when there is none.
const Stone* OtherStoneIn(const Stone& self, int col, int row) {
    for (int a = 1; a <= stoneCount && a < static_cast<int>(stones.size()); ++a) {
        const Stone& other = stones[static_cast<size_t>(a)];
        if (&other != &self && other.column == col && other.row == row) return &other;
    }
    return nullptr;
}

// A stone in cell (col, row) marks it by making the tile code of the cell below negative.
void SetMark(int col, int row) {
    if (InGrid(col, row + 1) && mapTiles(col, row + 1) > 0) {
        mapTiles(col, row + 1) = static_cast<int16_t>(-mapTiles(col, row + 1));
    }
}
void ClearMark(int col, int row) {
    if (InGrid(col, row + 1) && mapTiles(col, row + 1) < 0) {
        mapTiles(col, row + 1) = static_cast<int16_t>(-mapTiles(col, row + 1));
    }
}

// A cell a stone may enter: passable, without a mark and without another stone. The stone
// scan also finds stones on tile code 0, which cannot carry a mark.
bool Vacant(const Stone& self, int col, int row) {
    return SolidAt(col, row) == 0 && TileAt(col, row + 1) >= 0 &&
           OtherStoneIn(self, col, row) == nullptr;
}

// A stone that is not falling under (col, row + 1) holds the stone above up.
bool StoneBelow(const Stone& self, int col, int row) {
    const Stone* below = OtherStoneIn(self, col, row + 1);
    return below != nullptr && below->falling == 0;
}

bool OnGround(const Stone& s) {
    return SolidAt(s.column, s.row + 1) == 1 || StoneBelow(s, s.column, s.row);
}

// Pixels to roll from offsetX in direction `d` to the centre of the next cell.
int16_t RollToNextCentre(int offsetX, int d) {
    return static_cast<int16_t>(d > 0 ? kCell - offsetX + 35 : offsetX + 1 + 37);
}

// Pixels to roll on after a landing: to the first centre ahead in the heading. A stone that
// left an edge (offsetX 0 rolling right, 72 rolling left) rolls 35 or 37 pixels; one that lost
// its ground in mid-roll still ends centred. Without a heading it stays where it is.
int16_t RollAfterLanding(int offsetX, int heading) {
    if (heading > 0 && offsetX <= 35) return static_cast<int16_t>(35 - offsetX);
    if (heading < 0 && offsetX >= 35) return static_cast<int16_t>(offsetX - 35);
    if (heading == 0) return 37;
    return RollToNextCentre(offsetX, heading);
}

void Land(Stone& s) {
    s.stepY = 0;
    s.offsetY = 58;
    s.falling = kFalse;
    s.stepX = s.heading;
    s.rollLeft = RollAfterLanding(s.offsetX, s.heading);
    if (s.rollLeft == 0) s.stepX = 0;
    sound016->SetVolume(-200);
    sound016->SetFrequency(10000);
    sound016->Play(0);
    if (SolidAt(s.column, s.row + 1) == 0) {
        // On top of another stone: roll over to a side where both the cell beside this one
        // and the cell beside the lower stone are free, the left one when both sides are, and
        // drop down there. With neither side free the stone stays on top.
        const bool rightFree = Vacant(s, s.column + 1, s.row) && Vacant(s, s.column + 1, s.row + 1);
        const bool leftFree = Vacant(s, s.column - 1, s.row) && Vacant(s, s.column - 1, s.row + 1);
        if (rightFree || leftFree) {
            s.stepX = s.heading = static_cast<int16_t>(leftFree ? -1 : 1);
            s.rollLeft = RollToNextCentre(s.offsetX, s.heading);
        }
    }
    SetMark(s.column, s.row);
}

// The stone's centre reaches the edge of its cell: it moves into the neighbouring cell, or
// bounces off a wall or a stone there, back to the centre of its own cell.
void CrossIntoNeighbour(Stone& s) {
    const int d = s.offsetX < 0 ? -1 : 1;
    const int next = s.column + d;
    if (!Vacant(s, next, s.row)) {
        s.stepX = static_cast<int16_t>(-d);
        s.heading = s.stepX;
        s.rollLeft = static_cast<int16_t>(d < 0 ? 36 : 38);
        return;
    }
    ClearMark(s.column, s.row);
    s.offsetX = static_cast<int16_t>(s.offsetX - d * kCell);
    s.column = static_cast<int16_t>(next);
    SetMark(s.column, s.row);
}

void UpdateStone(Stone& s) {
    if (s.row > 18) s.row = 18;

    // Start falling when the ground below is gone; the heading is kept for the landing.
    if (s.falling == 0 && !OnGround(s)) {
        s.falling = kTrue;
        s.heading = s.stepX;
        s.stepX = 0;
        s.stepY = 6;
        ClearMark(s.column, s.row);
    }
    if (s.falling != 0 && s.offsetY > 57 && OnGround(s)) Land(s);

    // Push: the player walks into the stone's cell from the side.
    const bool pushFromRight = playerOffsetX > 62 && playerSpeedX == -1.0;
    const bool pushFromLeft = playerOffsetX < 10 && playerSpeedX == 1.0;
    if (playerCol == s.column && playerRow == s.row && playerJumping == 0 && s.rollLeft == 0 &&
        s.falling == 0 && (pushFromRight || pushFromLeft)) {
        s.stepX = s.heading = static_cast<int16_t>(playerSpeedX > 0 ? 1 : -1);
        s.rollLeft = 73;
        sound020->Play(0);
    }

    s.offsetX = static_cast<int16_t>(s.offsetX + s.stepX);
    s.offsetY = static_cast<int16_t>(s.offsetY + s.stepY);
    s.rollLeft = static_cast<int16_t>(s.rollLeft - 1);
    if (s.rollLeft < 1) {
        s.rollLeft = 0;
        s.stepX = 0;
    }

    // Only a stone moving towards the edge crosses it: one that has just bounced sits one
    // pixel past its own cell's edge until its next step takes it back.
    if ((s.offsetX < 0 && s.stepX < 0) || (s.offsetX > 72 && s.stepX > 0)) {
        CrossIntoNeighbour(s);
    }

    if (s.offsetY < 0) {
        s.offsetY = static_cast<int16_t>(s.offsetY + 73);
        s.row = static_cast<int16_t>(s.row - 1);
    }
    if (s.offsetY > 72) {
        if (OtherStoneIn(s, s.column, s.row + 1) != nullptr) {
            s.offsetY = 72;  // the stone below is still falling out of the way
        } else {
            s.offsetY = static_cast<int16_t>(s.offsetY - 73);
            s.row = static_cast<int16_t>(s.row + 1);
        }
    }

    if (s.stepX != 0 || s.stepY != 0) {
        s.frameTick = static_cast<int16_t>(s.frameTick + 1);
        if (s.frameTick == 4) {
            s.frameTick = 0;
            s.frame = static_cast<int16_t>(((s.frame + s.heading + 15) % 15 + 15) % 15);
        }
    }
    s.sourceRect = dx::RECT{31 * s.frame, 0, 31 * s.frame + 31, 30};

    BlitToCanvas((s.column - cameraCol) * kCell + s.offsetX - cameraFineX - 17,
                 (s.row - cameraRow) * kCell + s.offsetY - cameraFineY, s.sourceRect);
}

}  // namespace

void UpdateBoards() {
    const int count = boardCount;
    for (int a = 1; a <= count && a < static_cast<int>(boards.size()); ++a) {
        // A record the level did not fill has column 0 (the map's solid frame, where no
        // housing can stand): it stays inert and leaves its cells alone.
        if (boards[static_cast<size_t>(a)].column == 0) continue;
        UpdateBoard(boards[static_cast<size_t>(a)]);
    }
}

void UpdateStones() {
    const int count = stoneCount;
    for (int a = 1; a <= count && a < static_cast<int>(stones.size()); ++a) {
        UpdateStone(stones[static_cast<size_t>(a)]);
    }
}

}  // namespace zorvik
