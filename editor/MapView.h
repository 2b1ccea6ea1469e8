// SPDX-License-Identifier: GPL-3.0-or-later
// The normal map view, the form's Level: a picture box showing 18 x 18 cells from viewScroll
// on, 30 pixels apart, with the overlays drawn over its picture on screen.
#pragma once

#include <functional>
#include <vector>

#include "MapOverlay.h"
#include "PictureBox.h"

namespace zorvik::editor {

// No Q_OBJECT of its own: the view keeps the picture box's meta-object and signals, as the
// form's design makes Level a picture box.
class MapView : public PictureBox {
  public:
    explicit MapView(QWidget* parent);

    // The map cell under a point of the view (pixels), or column 0 off the 18 x 18 cells.
    static MapCell CellAt(double x, double y);
    // The columns on view now.
    static ViewColumns Columns();

    // Where the overlays find their settings (the window's toggles and pointer).
    void SetOverlaySettings(std::function<OverlaySettings()> settings);
    // What the current tool draws over the view, after the overlays.
    void SetToolPreview(std::function<void(QPainter&, const ViewColumns&)> preview) {
        preview_ = std::move(preview);
    }
    // Redraws the given changed cells (DrawMapCells) and the overlays they affect.
    void ShowChangedCells(const std::vector<MapCell>& cells);
    // The pointer moved from one cell to another: the link highlight follows when either
    // holds a platform or a board housing.
    void HoverMoved(MapCell from, MapCell to);

  private:
    std::function<OverlaySettings()> settings_;
    std::function<void(QPainter&, const ViewColumns&)> preview_;
};

}  // namespace zorvik::editor
