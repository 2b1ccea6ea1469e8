// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the editing state and the drawing routines of the map view and the palette.
#include "B_do.h"

#include <algorithm>
#include <functional>

#include "A_deklare.h"
#include "C_Nastav.h"
#include "Form1.h"

namespace zorvik::editor {

namespace {

// Top-left corner of a tile sheet cell.
int SheetX(int cell) {
    return kSheetCell * (cell % kSheetCols);
}
int SheetY(int cell) {
    return kSheetCell * (cell / kSheetCols);
}

// The sheet cell that shows an object code, or -1 for codes without an image.
int ObjectImage(int item) {
    switch (item) {
        case 54:
            return 17;
        case 55:
            return 18;
        case 40:
            return 19;
        case 51:
            return 20;
        case 52:
            return 21;
        case 53:
            return 22;
        case 57:
            return 26;
        case 56:
            return 27;
        case 998:
            return 28;
        case 999:
            return 29;
        case 997:
            return 30;
        case 900:
            return 31;
        default:
            break;
    }
    if (item >= 46 && item <= 50) return 24;
    if (item >= 41 && item <= 45) return 25;
    return -1;
}

}  // namespace

void InitEditor() {
    Form1& form = TheForm();
    FillPaletteTable();
    linkMode = kTrue;
    speedMode = kTrue;
    DrawGrid();
    paletteTop = 0;
    paletteLast = 31;
    DrawPalette();
    selectedEntry = 1;
    form.SELEC->BitBlt(1, 1, kSheetCell, kSheetCell, form.Hiden, 0, 0, kSrcCopy);
}

void DrawGrid() {
    Form1& form = TheForm();
    const int length = kViewCells * kViewPitch;
    for (int x = 0; x <= length; x += kViewPitch) {
        form.Level->BitBlt(x, 0, 1, length, form.Fialova, 0, 0, kSrcCopy);
    }
    for (int y = 0; y <= length; y += kViewPitch) {
        form.Level->BitBlt(0, y, length, 1, form.Fialova, 0, 0, kSrcCopy);
    }
}

void DrawPalette() {
    Form1& form = TheForm();
    for (int slot = 0; slot < kPaletteSlots; ++slot) {
        const int cell = paletteTop + slot;
        form.Vyber->BitBlt(1, kSlotPitch * slot, kSheetCell, kSheetCell, form.Hiden, SheetX(cell),
                           SheetY(cell), kSrcCopy);
    }
}

namespace {

// Draws map cell (col, row) into view slot (k, row): its image or black, a stone marker, a
// speed or link label. Returns the area a label painted (empty without one), which can reach
// into the next cells.
QRect DrawCell(PictureBox& view, const PictureBox& sheet, int k, int row, int col) {
    const int inner = kViewPitch - 1;  // 29 x 29 pixels inside the grid lines
    const int tile = mapTiles[col][row];
    const int item = mapItems[col][row];
    const int x = kViewPitch * (k - 1);
    const int y = kViewPitch * (row - 1);

    // Tile codes 16..18 show the images of their palette entries; the pressed
    // platform (15) shows like tile 16.
    int p = tile - 1;
    if (p == 15) p = 14;
    if (p == 16) p = 15;
    if (p == 17) p = 16;
    const int objectImage = ObjectImage(item);
    if (objectImage >= 0) p = objectImage;

    const bool drewImage = p != -1;
    if (!drewImage) {
        view.BitBlt(x + 1, y + 1, inner, inner, nullptr, 0, 0, kBlackness);
    } else {
        view.StretchBlt(x + 1, y + 1, inner, inner, sheet, SheetX(p), SheetY(p), kSheetCell,
                        kSheetCell);
    }

    // A stone rests on this cell: its marker replaces any label.
    if (item >= 20 && item <= 39) {
        view.StretchBlt(x + 5, y + 5, 20, 20, sheet, SheetX(23), SheetY(23), kSheetCell,
                        kSheetCell);
        p = 23;
    }

    if (!drewImage) return {};
    QRect painted;
    if (p == 24 || p == 25) {
        const int speed = p == 24 ? item - 45 : item - 40;
        labelRect = LabelRect{x + 13, y + 12, x + 63, y + 62};
        painted = view.DrawTextA(QString::number(speed), 1, labelRect.left, labelRect.top,
                                 labelRect.right, labelRect.bottom);
    } else if (p == 16 || p == 13) {
        labelRect = LabelRect{x + 11, y + 12, x + 61, y + 62};
        painted = view.DrawTextA(QString::number(item), -1, labelRect.left, labelRect.top,
                                 labelRect.right, labelRect.bottom);
    } else {
        return {};
    }
    view.Circle(x + 16, y + 18, 8, QColor(255, 255, 255));
    // Antialiased glyph edges may reach a pixel past the text's box.
    return painted.adjusted(-1, -1, 1, 1);
}

// A picture of map columns firstCol .. firstCol + cols - 1, all rows, 30 pixels a cell, with
// the grid lines drawn by `gridLine` (x, y, width, height).
struct CellPicture {
    PictureBox& view;
    int firstCol;
    int cols;
    std::function<void(int, int, int, int)> gridLine;
};

void DrawAll(const CellPicture& picture) {
    const PictureBox& sheet = *TheForm().Hiden;
    picture.view.HoldUpdates(true);
    for (int row = 1; row <= kLastRow; ++row) {
        for (int k = 1; k <= picture.cols; ++k)
            DrawCell(picture.view, sheet, k, row, k + picture.firstCol - 1);
    }
    const int width = picture.cols * kViewPitch;
    const int height = kLastRow * kViewPitch;
    for (int x = 0; x <= width; x += kViewPitch)
        picture.gridLine(x, 0, 1, height);
    for (int y = 0; y <= height; y += kViewPitch)
        picture.gridLine(0, y, width, 1);
    picture.view.HoldUpdates(false);
}

// Redraws only what the given map cells change: their cells, the cells a label spills into,
// and the grid lines around them. The result is the picture DrawAll draws.
void DrawChanged(const CellPicture& picture, const std::vector<MapCell>& cells) {
    const PictureBox& sheet = *TheForm().Hiden;
    const int cols = picture.cols;
    // Slots to redraw, [row][k] counted from 1. A full drawing goes row by row, and a later
    // cell covers what an earlier label spilt into it, so redrawing a cell means redrawing
    // the cells its label reaches as well.
    std::vector<std::vector<char>> pending(kLastRow + 2, std::vector<char>(cols + 2, 0));
    std::vector<std::vector<char>> redrawn(kLastRow + 2, std::vector<char>(cols + 2, 0));
    bool any = false;
    for (const MapCell& cell : cells) {
        const int k = cell.col - picture.firstCol + 1;
        if (k < 1 || k > cols || cell.row < 1 || cell.row > kLastRow) continue;
        pending[cell.row][k] = 1;
        any = true;
    }
    if (!any) return;
    picture.view.HoldUpdates(true);
    for (int row = 1; row <= kLastRow; ++row) {
        for (int k = 1; k <= cols; ++k) {
            if (pending[row][k] == 0) continue;
            redrawn[row][k] = 1;
            const QRect label = DrawCell(picture.view, sheet, k, row, k + picture.firstCol - 1);
            if (label.isEmpty()) continue;
            const int right = kViewPitch * k;  // the grid line right of the cell
            const int bottom = kViewPitch * row;
            if (label.right() > right && k < cols) pending[row][k + 1] = 1;
            if (label.bottom() > bottom && row < kLastRow) {
                pending[row + 1][k] = 1;
                if (label.right() > right && k < cols) pending[row + 1][k + 1] = 1;
            }
        }
    }
    // The grid lines around the redrawn cells, vertical ones first as in DrawGrid.
    const int width = cols * kViewPitch;
    const int height = kLastRow * kViewPitch;
    for (int pass = 0; pass < 2; ++pass) {
        for (int row = 1; row <= kLastRow; ++row) {
            for (int k = 1; k <= cols; ++k) {
                if (redrawn[row][k] == 0) continue;
                const int x = kViewPitch * (k - 1);
                const int y = kViewPitch * (row - 1);
                for (int line = 0; line <= kViewPitch; line += kViewPitch) {
                    if (pass == 0) {
                        picture.gridLine(x + line, y, 1, std::min(kViewPitch + 1, height - y));
                    } else {
                        picture.gridLine(x, y + line, std::min(kViewPitch + 1, width - x), 1);
                    }
                }
            }
        }
    }
    picture.view.HoldUpdates(false);
}

// The map view's picture: the 18 columns from viewScroll on, grid lines copied from Fialova.
CellPicture ViewPicture() {
    Form1& form = TheForm();
    return CellPicture{
        *form.Level, viewScroll + 1, kViewCells, [&form](int x, int y, int w, int h) {
            // Fialova is grey all over; copying from the line's own position
            // keeps the copies inside it.
            form.Level->BitBlt(x, y, w, h, form.Fialova, w == 1 ? 0 : x, h == 1 ? 0 : y, kSrcCopy);
        }};
}

// The whole map's picture: all 50 columns, grid lines filled grey.
CellPicture WholePicture(PictureBox& canvas) {
    return CellPicture{canvas, 1, kLastCol, [&canvas](int x, int y, int w, int h) {
                           canvas.FillRect(x, y, w, h, qRgb(128, 128, 128));
                       }};
}

}  // namespace

void DrawMap() {
    Form1& form = TheForm();
    form.Level->HoldUpdates(true);
    for (int row = 1; row <= kViewCells; ++row) {
        for (int k = 1; k <= kViewCells; ++k)
            DrawCell(*form.Level, *form.Hiden, k, row, k + viewScroll);
    }
    DrawGrid();
    form.Level->HoldUpdates(false);
}

void DrawMapCells(const std::vector<MapCell>& cells) {
    DrawChanged(ViewPicture(), cells);
}

void DrawWholeMap(PictureBox& canvas) {
    DrawAll(WholePicture(canvas));
}

void DrawWholeMapCells(PictureBox& canvas, const std::vector<MapCell>& cells) {
    DrawChanged(WholePicture(canvas), cells);
}

}  // namespace zorvik::editor
