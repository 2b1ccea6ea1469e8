// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's state: the three map layers, the palette table and the view and tool settings,
// shared by every module of the editor.
#pragma once

#include <array>
#include <cstdint>

namespace zorvik::editor {

// Flags hold 0 (false) or -1 (true).
constexpr int16_t kTrue = -1;
constexpr int16_t kFalse = 0;

// Map layers are indexed [column][row]: columns 0..50, rows 0..18; the map cells are
// columns 1..50 and rows 1..18.
constexpr int kMapCols = 51;
constexpr int kMapRows = 19;
constexpr int kLastCol = 50;
constexpr int kLastRow = 18;
// The map view shows 18 x 18 cells, 30 pixels apart.
constexpr int kViewCells = 18;
constexpr int kViewPitch = 30;
// Sheet cells are 73 x 73 pixels, ten to a row; palette slots are 74 pixels apart.
constexpr int kSheetCell = 73;
constexpr int kSheetCols = 10;
constexpr int kSlotPitch = 74;
constexpr int kPaletteSlots = 5;
constexpr int kPaletteEntries = 32;

using MapLayer = int16_t[kMapCols][kMapRows];

extern MapLayer mapTiles;  // tile codes (the chosen file)
extern MapLayer mapSolid;  // 0 passable, 1 solid (file ".1")
extern MapLayer mapItems;  // object codes, link numbers, enemy speeds (file ".2")

// What painting with a palette entry writes into the three layers.
struct PaletteEntry {
    int16_t tile = 0;
    int16_t solid = 0;
    int16_t item = 0;
};
extern std::array<PaletteEntry, kPaletteEntries + 1> paletteTable;  // entries 0..32

extern int16_t paletteTop;     // sheet cell shown in the palette's top slot, 0..27
extern int16_t paletteLast;    // last sheet cell the palette offers
extern int16_t selectedEntry;  // palette entry used for painting, 1..32
extern int16_t viewScroll;     // map columns scrolled off the left edge of the view, 0..32
extern int16_t linkMode;       // -1 while the link tool is active
extern int16_t speedMode;      // -1 while the speed tool is active

// Rectangle in which a cell label is drawn; set before each label.
struct LabelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};
extern LabelRect labelRect;

// Restores the program-start values. Called by the Form1 constructor, so every window (and
// every test) starts from an empty map.
void ResetEditorState();

}  // namespace zorvik::editor
