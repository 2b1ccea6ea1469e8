// Start-up of the editing state and the drawing routines of the map view and the palette.
#include "B_do.h"

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

void DrawMap() {
    Form1& form = TheForm();
    PictureBox& view = *form.Level;
    const PictureBox& sheet = *form.Hiden;
    const int inner = kViewPitch - 1;  // 29 x 29 pixels inside the grid lines
    for (int row = 1; row <= kViewCells; ++row) {
        for (int k = 1; k <= kViewCells; ++k) {
            const int col = k + viewScroll;
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

            if (!drewImage) continue;
            bool labelled = false;
            if (p == 24 || p == 25) {
                const int speed = p == 24 ? item - 45 : item - 40;
                labelRect = LabelRect{x + 13, y + 12, x + 63, y + 62};
                view.DrawTextA(QString::number(speed), 1, labelRect.left, labelRect.top,
                               labelRect.right, labelRect.bottom);
                labelled = true;
            } else if (p == 16 || p == 13) {
                labelRect = LabelRect{x + 11, y + 12, x + 61, y + 62};
                view.DrawTextA(QString::number(item), -1, labelRect.left, labelRect.top,
                               labelRect.right, labelRect.bottom);
                labelled = true;
            }
            if (labelled) view.Circle(x + 16, y + 18, 8, QColor(255, 255, 255));
        }
    }
    DrawGrid();
}

}  // namespace zorvik::editor
