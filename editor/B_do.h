// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the editing state and the drawing of the map view, the grid and the palette.
#pragma once

#include <vector>

#include "A_deklare.h"
#include "MapDocument.h"
#include "PictureBox.h"

namespace zorvik::editor {

// Fills the palette, turns both tools on, draws the grid and the palette and previews
// entry 1. Called once, at the end of Form_Load.
void InitEditor();
// Draws the 19 x 19 grey grid lines over the map view, 30 pixels apart. Called by InitEditor
// and at the end of DrawMap.
void DrawGrid();
// Draws the five visible palette slots from paletteTop on. Called by InitEditor and the
// palette scroll buttons.
void DrawPalette();
// Redraws the 18 x 18 visible cells with their markers and labels, then the grid. Called
// after every change of the map or of viewScroll.
void DrawMap();
// Redraws only what the given map cells change in the view: their visible cells, the cells a
// label spills into, and the grid lines around them. The picture is the one DrawMap draws.
void DrawMapCells(const std::vector<MapCell>& cells);

// The size of the whole map's picture: 50 x 18 cells 30 pixels apart, with the grid lines.
constexpr int kWholeWidth = kLastCol * kViewPitch + 1;
constexpr int kWholeHeight = kLastRow * kViewPitch + 1;
// Draws all 50 x 18 map cells into `canvas` (kWholeWidth x kWholeHeight), cell for cell as
// DrawMap draws the view, grid included. For the whole-map view and the minimap.
void DrawWholeMap(PictureBox& canvas);
// Redraws the given changed cells there, as DrawMapCells does in the view.
void DrawWholeMapCells(PictureBox& canvas, const std::vector<MapCell>& cells);

}  // namespace zorvik::editor
