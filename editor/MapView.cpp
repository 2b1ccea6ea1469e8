// SPDX-License-Identifier: GPL-3.0-or-later
// The normal map view: cell geometry, the redraw of changed cells and its overlays.
#include "MapView.h"

#include <QPainter>
#include <cmath>

#include "A_deklare.h"
#include "B_do.h"

namespace zorvik::editor {

MapView::MapView(QWidget* parent) : PictureBox(Qt::black, parent) {
    SetOverlay([this](QPainter& painter) {
        if (settings_) PaintOverlays(painter, Columns(), settings_());
        if (preview_) preview_(painter, Columns());
    });
}

MapCell MapView::CellAt(double x, double y) {
    if (x < 0 || y < 0) return {};
    const int viewCol = static_cast<int>(std::floor(x / kViewPitch));
    const int viewRow = static_cast<int>(std::floor(y / kViewPitch));
    if (viewCol > kViewCells - 1 || viewRow > kViewCells - 1) return {};
    return MapCell{viewCol + 1 + viewScroll, viewRow + 1};
}

ViewColumns MapView::Columns() {
    return ViewColumns{viewScroll + 1, kViewCells};
}

void MapView::SetOverlaySettings(std::function<OverlaySettings()> settings) {
    settings_ = std::move(settings);
}

void MapView::ShowChangedCells(const std::vector<MapCell>& cells) {
    DrawMapCells(cells);
    // Overlays that depend on a changed cell: its own tint, the gate above a housing, the
    // highlight of every cell sharing a link number.
    const MapCell hovered = settings_ ? settings_().hovered : MapCell{};
    bool linkCell = false;
    for (const MapCell& cell : cells) {
        const int k = cell.col - viewScroll;
        if (k < 1 || k > kViewCells) continue;
        update(QRect(kViewPitch * (k - 1) - 1, kViewPitch * (cell.row - 4) - 1, kViewPitch + 3,
                     4 * kViewPitch + 3));
        linkCell = linkCell || cell == hovered;
    }
    if (linkCell || (hovered.col != 0 && IsLinkTile(mapTiles[hovered.col][hovered.row]))) {
        update();
    }
}

void MapView::HoverMoved(MapCell from, MapCell to) {
    const bool wasLink = from.col != 0 && IsLinkTile(mapTiles[from.col][from.row]);
    const bool isLink = to.col != 0 && IsLinkTile(mapTiles[to.col][to.row]);
    if (wasLink || isLink) update();
}

}  // namespace zorvik::editor
