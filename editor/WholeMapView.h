// SPDX-License-Identifier: GPL-3.0-or-later
// The whole-map view (Zobrazit > Celá mapa): all 50 x 18 cells at once, scaled to the room
// the window gives it. Its picture is drawn cell for cell as the normal view draws its own
// (into a hidden canvas of 30-pixel cells) and shown scaled, with the same overlays and a
// frame around the cell under the pointer. The minimap shows the same canvas.
#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "MapOverlay.h"

namespace zorvik::editor {

class PictureBox;

class WholeMapView : public QWidget {
    Q_OBJECT
  public:
    explicit WholeMapView(QWidget* parent);

    // The picture of all cells, 30 pixels apart (kWholeWidth x kWholeHeight).
    const PictureBox& Canvas() const { return *canvas_; }
    // Size of a cell on screen, in pixels (the canvas is shown scaled by CellSize() / 30).
    double CellSize() const;
    // The map cell under a point of the view, or column 0 off the cells.
    MapCell CellAt(QPointF point) const;

    // Where the overlays find their settings (the window's toggles and pointer).
    void SetOverlaySettings(std::function<OverlaySettings()> settings);
    // What the current tool draws over the view, after the overlays.
    void SetToolPreview(std::function<void(QPainter&, const ViewColumns&)> preview) {
        preview_ = std::move(preview);
    }
    // The whole map changed (Clear map, Open): the canvas is drawn anew.
    void Redraw();
    // The given cells changed: they are redrawn in the canvas, and on screen with the
    // overlays they affect.
    void ShowChangedCells(const std::vector<MapCell>& cells);
    // The pointer moved from one cell to another: its frame and the link highlight follow.
    void HoverMoved(MapCell from, MapCell to);

  signals:
    // Pointer events in the handlers' button and shift codes (PictureBox.h), in map cells.
    void MouseDown(int button, int shift, MapCell cell);
    void MouseMove(int buttons, int shift, MapCell cell);
    void MouseUp(int button, int shift, MapCell cell);
    void PointerLeft();
    // Part of the canvas (in its pixels) was drawn anew.
    void CanvasChanged(const QRect& area);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    // The part of the view showing a rectangle of the canvas.
    QRect OnScreen(const QRectF& canvasArea) const;
    // The overlays and the frame of the hovered cell, over the scaled picture.
    void PaintOverlaysAndFrame(QPainter& painter, const OverlaySettings& settings,
                               double scale) const;
    // Redraws on screen the cell and the three gate cells above it.
    void UpdateCell(MapCell cell);

    PictureBox* canvas_;
    std::function<OverlaySettings()> settings_;
    std::function<void(QPainter&, const ViewColumns&)> preview_;
};

}  // namespace zorvik::editor
