// SPDX-License-Identifier: GPL-3.0-or-later
// The overlays drawn over a map view's picture, on screen only (never into the files): solid
// cells tinted, board gate cells outlined, and the cells sharing the pointed link number framed
// and joined by lines.
#pragma once

#include <QPointF>
#include <QRect>

#include <vector>

#include "MapDocument.h"
#include "ProveReport.h"

class QPainter;

namespace zorvik::editor {

struct OverlaySettings {
    bool solidity = false;  // tint the solid cells
    bool gates = false;     // outline the three gate cells above every board housing
    MapCell hovered;        // the cell under the pointer (column 0: none)
    // Findings marked on their cells and the prover's route (none: not shown).
    const std::vector<MapFinding>* findings = nullptr;
    const std::vector<MapCell>* route = nullptr;
};

// The columns a view shows: map column `firstCol` in its first slot, `cols` columns in all,
// every row; cells 30 pixels apart in the painter's coordinates, as DrawMap draws them.
struct ViewColumns {
    int firstCol = 1;
    int cols = 18;
};

// Whether a tile code carries a link number (platform or board housing).
bool IsLinkTile(int tile);

// The rectangle of map cell (col, row) inside its grid lines, in the view's coordinates.
QRect CellInterior(const ViewColumns& view, int col, int row);

// The rectangle covering the cells from corner `a` to corner `b` (either order), inside the
// outer grid lines, in the view's coordinates.
QRect CellsArea(const ViewColumns& view, MapCell a, MapCell b);
// The centre of a cell in the view's coordinates.
QPointF CellMiddle(const ViewColumns& view, MapCell cell);

// Draws every overlay that is switched on over the columns the view shows.
void PaintOverlays(QPainter& painter, const ViewColumns& view, const OverlaySettings& settings);

}  // namespace zorvik::editor
