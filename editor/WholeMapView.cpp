// SPDX-License-Identifier: GPL-3.0-or-later
// The whole-map view: its canvas, scaled painting, overlays, hover frame and pointer events.
#include "WholeMapView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

#include "A_deklare.h"
#include "B_do.h"
#include "PictureBox.h"

namespace zorvik::editor {

WholeMapView::WholeMapView(QWidget* parent)
    : QWidget(parent), canvas_(new PictureBox(Qt::black, this)) {
    canvas_->setObjectName(QStringLiteral("wholeCanvas"));
    canvas_->SetGeometry(0, 0, kWholeWidth, kWholeHeight);
    canvas_->hide();
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

double WholeMapView::CellSize() const {
    return std::min(static_cast<double>(width() - 1) / kLastCol,
                    static_cast<double>(height() - 1) / kLastRow);
}

MapCell WholeMapView::CellAt(QPointF point) const {
    const double size = CellSize();
    if (size <= 0 || point.x() < 0 || point.y() < 0) return {};
    const int col = static_cast<int>(std::floor(point.x() / size)) + 1;
    const int row = static_cast<int>(std::floor(point.y() / size)) + 1;
    if (col > kLastCol || row > kLastRow) return {};
    return MapCell{col, row};
}

void WholeMapView::SetOverlaySettings(std::function<OverlaySettings()> settings) {
    settings_ = std::move(settings);
}

void WholeMapView::Redraw() {
    DrawWholeMap(*canvas_);
    emit CanvasChanged(QRect(0, 0, kWholeWidth, kWholeHeight));
    update();
}

QRect WholeMapView::OnScreen(const QRectF& canvasArea) const {
    const double scale = CellSize() / kViewPitch;
    return QRectF(canvasArea.x() * scale, canvasArea.y() * scale, canvasArea.width() * scale,
                  canvasArea.height() * scale)
        .toAlignedRect()
        .adjusted(-2, -2, 2, 2);
}

void WholeMapView::UpdateCell(MapCell cell) {
    update(OnScreen(QRectF(kViewPitch * (cell.col - 1), kViewPitch * (cell.row - 4), kViewPitch + 1,
                           4 * kViewPitch + 1)));
}

void WholeMapView::ShowChangedCells(const std::vector<MapCell>& cells) {
    if (cells.empty()) return;
    DrawWholeMapCells(*canvas_, cells);
    const MapCell hovered = settings_ ? settings_().hovered : MapCell{};
    bool link = hovered.col != 0 && IsLinkTile(mapTiles[hovered.col][hovered.row]);
    QRect changed;
    for (const MapCell& cell : cells) {
        if (cell.col < 1 || cell.row < 1) continue;
        // A label may spill into the next cells.
        changed = changed.united(QRect(kViewPitch * (cell.col - 1), kViewPitch * (cell.row - 1),
                                       2 * kViewPitch + 1, 2 * kViewPitch + 1));
        UpdateCell(MapCell{cell.col + 1, cell.row + 1});
        UpdateCell(cell);
        link = link || cell == hovered;
    }
    emit CanvasChanged(changed);
    if (link) update();
}

void WholeMapView::HoverMoved(MapCell from, MapCell to) {
    const bool wasLink = from.col != 0 && IsLinkTile(mapTiles[from.col][from.row]);
    const bool isLink = to.col != 0 && IsLinkTile(mapTiles[to.col][to.row]);
    if (wasLink || isLink) {
        update();
        return;
    }
    if (from.col != 0) UpdateCell(from);
    if (to.col != 0) UpdateCell(to);
}

void WholeMapView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    const double scale = CellSize() / kViewPitch;
    if (scale <= 0) return;
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(scale, scale);
    // Only the part of the canvas under the exposed area is scaled.
    const QRectF exposed(event->rect().x() / scale, event->rect().y() / scale,
                         event->rect().width() / scale, event->rect().height() / scale);
    const QRectF source =
        exposed.adjusted(-1, -1, 1, 1).intersected(QRectF(0, 0, kWholeWidth, kWholeHeight));
    painter.drawImage(source, canvas_->Image(), source);
    if (settings_) PaintOverlaysAndFrame(painter, settings_(), scale);
    if (preview_) preview_(painter, ViewColumns{1, kLastCol});
}

void WholeMapView::PaintOverlaysAndFrame(QPainter& painter, const OverlaySettings& settings,
                                         double scale) const {
    painter.save();
    PaintOverlays(painter, ViewColumns{1, kLastCol}, settings);
    if (settings.hovered.col != 0) {
        // A frame on the hovered cell's grid lines, two screen pixels wide.
        painter.setPen(QPen(Qt::white, 2 / scale));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(kViewPitch * (settings.hovered.col - 1) + 0.5,
                                kViewPitch * (settings.hovered.row - 1) + 0.5, kViewPitch,
                                kViewPitch));
    }
    painter.restore();
}

void WholeMapView::mousePressEvent(QMouseEvent* event) {
    emit MouseDown(ButtonCode(event->button()), ShiftCode(event->modifiers()),
                   CellAt(event->position()));
}

void WholeMapView::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMove(ButtonCode(event->buttons()), ShiftCode(event->modifiers()),
                   CellAt(event->position()));
}

void WholeMapView::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseUp(ButtonCode(event->button()), ShiftCode(event->modifiers()),
                 CellAt(event->position()));
}

void WholeMapView::leaveEvent(QEvent* event) {
    emit PointerLeft();
    QWidget::leaveEvent(event);
}

}  // namespace zorvik::editor
