// SPDX-License-Identifier: GPL-3.0-or-later
// The minimap strip: the scaled-down map, the frame of the view, clicks that scroll.
#include "Minimap.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "A_deklare.h"
#include "B_do.h"
#include "PictureBox.h"

namespace zorvik::editor {

namespace {

constexpr double kScale = static_cast<double>(Minimap::kCell) / kViewPitch;
const QColor kFrameColour(255, 255, 0);

}  // namespace

Minimap::Minimap(const PictureBox& canvas, QWidget* parent) : QWidget(parent), canvas_(canvas) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::PointingHandCursor);
    resize(sizeHint());
}

QSize Minimap::sizeHint() const {
    return {kLastCol * kCell + 1, kLastRow * kCell + 1};
}

void Minimap::CanvasChanged(const QRect& area) {
    update(
        QRectF(area.x() * kScale, area.y() * kScale, area.width() * kScale, area.height() * kScale)
            .toAlignedRect()
            .adjusted(-1, -1, 1, 1));
}

void Minimap::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(0, 0, kLastCol * kCell + 1, kLastRow * kCell + 1), canvas_.Image());
    // The columns on view in the normal view.
    painter.setPen(QPen(kFrameColour, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(
        QRect(viewScroll * kCell + 1, 1, kViewCells * kCell - 1, kLastRow * kCell - 1));
}

void Minimap::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) Choose(event->position().x());
}

void Minimap::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) Choose(event->position().x());
}

void Minimap::Choose(double x) {
    const int col = std::clamp(static_cast<int>(std::floor(x / kCell)) + 1, 1, kLastCol);
    emit ColumnChosen(col);
}

}  // namespace zorvik::editor
