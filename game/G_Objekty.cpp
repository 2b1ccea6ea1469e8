// Moving objects: boards (gates over board housings) and stones, moved and drawn onto the
// canvas once per frame.
#include "G_Objekty.h"

#include "A_deklarace.h"

namespace zorvik {

namespace {

constexpr int32_t kKeyed = dx::DDBLTFAST_SRCCOLORKEY | dx::DDBLTFAST_WAIT;
constexpr int kCanvasHeight = 658;
constexpr int kBoardTop = 219;   // bar height of a closed board
constexpr int kBoardBottom = 1;  // bar height of an open board

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

// A stone resting in cell (col, row) marks the cell below by negating its tile code.
void ToggleMark(int col, int row) {
    if (InGrid(col, row)) {
        mapTiles(col, row) = static_cast<int16_t>(-mapTiles(col, row));
    }
}

// True when a stone other than `self` lies on the ground in cell (col, row).
bool OtherStoneIn(const Stone& self, int col, int row) {
    for (int a = 1; a <= stoneCount && a < static_cast<int>(stones.size()); ++a) {
        const Stone& other = stones[static_cast<size_t>(a)];
        if (&other != &self && other.falling == 0 && other.column == col && other.row == row) {
            return true;
        }
    }
    return false;
}

// Two stones can share a cell after one has landed on the other; their cell keeps its mark
// until the last of them leaves, so a platform under them stays pressed.
void ToggleOwnMark(const Stone& s, int col, int row) {
    if (!OtherStoneIn(s, col, row)) ToggleMark(col, row + 1);
}

// A side cell a stone can roll into: passable and holding no stone.
bool SideFree(int col, int row) {
    return SolidAt(col, row) == 0 && TileAt(col, row + 1) >= 0;
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
    if (b.height > kBoardTop) {
        b.direction = 0;
        b.height = kBoardTop;
        sound026->Play(0);
        sound026->Stop();
    }
    if (b.height < kBoardBottom) {
        b.direction = 0;
        b.height = kBoardBottom;
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

void UpdateStone(Stone& s) {
    if (s.row > 18) s.row = 18;

    // Start falling when the ground below is gone; the heading is kept for the landing.
    if (SolidAt(s.column, s.row + 1) == 0 && s.falling == 0) {
        s.falling = kTrue;
        s.heading = s.stepX;
        s.stepX = 0;
        s.stepY = 6;
    }

    // Land, then roll on so that the stone comes to rest centred in the landing cell.
    if (SolidAt(s.column, s.row + 1) == 1 && s.offsetY > 57 && s.falling != 0) {
        s.stepY = 0;
        s.offsetY = 58;
        s.stepX = s.heading;
        s.rollLeft = static_cast<int16_t>(s.heading == 1 ? 35 : 37);
        s.falling = kFalse;
        sound016->SetVolume(-200);
        sound016->SetFrequency(10000);
        sound016->Play(0);
        if (TileAt(s.column, s.row + 1) < 0) {
            // Another stone rests here: roll on to the centre of a free side cell, the left one
            // when both are free. With neither free, the stone settles centred on the other.
            const bool rightFree = SideFree(s.column + 1, s.row);
            const bool leftFree = SideFree(s.column - 1, s.row);
            if (rightFree || leftFree) {
                s.stepX = s.heading = static_cast<int16_t>(leftFree ? -1 : 1);
                s.rollLeft =
                    static_cast<int16_t>(s.heading == 1 ? 73 - s.offsetX + 35 : s.offsetX + 1 + 37);
            }
        }
        ToggleOwnMark(s, s.column, s.row);
    }

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

    // Into the neighbouring column; a wall or a resting stone there sends it back so that it
    // ends centred in the cell it came from.
    if (s.offsetX < 0 || s.offsetX > 72) {
        const bool left = s.offsetX < 0;
        const int oldCol = s.column;
        s.offsetX = static_cast<int16_t>(s.offsetX + (left ? 73 : -73));
        s.column = static_cast<int16_t>(oldCol + (left ? -1 : 1));
        if (TileAt(s.column, s.row + 1) < 0 || SolidAt(s.column, s.row) == 1) {
            s.stepX = static_cast<int16_t>(-s.stepX);
            s.heading = s.stepX;
            s.rollLeft = static_cast<int16_t>(left ? 36 : 38);
        }
        ToggleOwnMark(s, oldCol, s.row);
        ToggleOwnMark(s, s.column, s.row);
    }

    if (s.offsetY < 0) {
        s.offsetY = static_cast<int16_t>(s.offsetY + 73);
        s.row = static_cast<int16_t>(s.row - 1);
    }
    if (s.offsetY > 72) {
        s.offsetY = static_cast<int16_t>(s.offsetY - 73);
        s.row = static_cast<int16_t>(s.row + 1);
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
