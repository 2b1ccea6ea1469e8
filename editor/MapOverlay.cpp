// SPDX-License-Identifier: GPL-3.0-or-later
// Painting the overlays of the map views.
#include "MapOverlay.h"

#include <QColor>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>

#include "A_deklare.h"

namespace zorvik::editor {

namespace {

// Solid cells tinted red, the cells sharing the pointed link number framed in yellow, board
// gates outlined in cyan.
const QColor kSolidTint(255, 0, 0, 96);
const QColor kLinkColour(255, 255, 0);
const QColor kGateColour(0, 255, 255);
// The prover's route in green, dead ends framed in red, unreachable pickups crossed out in
// magenta, the level check's findings framed in orange.
const QColor kRouteColour(0, 230, 64);
const QColor kDeadEndColour(255, 32, 32);
const QColor kUnreachableColour(255, 0, 255);
const QColor kCheckColour(255, 160, 0);

// A frame three pixels wide inside the cell.
void FrameCell(QPainter& painter, const QRect& cell) {
    constexpr int kFrame = 3;
    painter.fillRect(cell.left(), cell.top(), cell.width(), kFrame, kLinkColour);
    painter.fillRect(cell.left(), cell.bottom() - kFrame + 1, cell.width(), kFrame, kLinkColour);
    painter.fillRect(cell.left(), cell.top(), kFrame, cell.height(), kLinkColour);
    painter.fillRect(cell.right() - kFrame + 1, cell.top(), kFrame, cell.height(), kLinkColour);
}

}  // namespace

bool IsLinkTile(int tile) {
    return tile == 14 || tile == 18;
}

QRect CellInterior(const ViewColumns& view, int col, int row) {
    return QRect(kViewPitch * (col - view.firstCol) + 1, kViewPitch * (row - 1) + 1, kViewPitch - 1,
                 kViewPitch - 1);
}

QRect CellsArea(const ViewColumns& view, MapCell a, MapCell b) {
    const MapCell topLeft{std::min(a.col, b.col), std::min(a.row, b.row)};
    const MapCell bottomRight{std::max(a.col, b.col), std::max(a.row, b.row)};
    return CellInterior(view, topLeft.col, topLeft.row)
        .united(CellInterior(view, bottomRight.col, bottomRight.row));
}

QPointF CellMiddle(const ViewColumns& view, MapCell cell) {
    return QRectF(CellInterior(view, cell.col, cell.row)).center();
}

namespace {

// The findings and the route.
void PaintFindings(QPainter& painter, const ViewColumns& view, const OverlaySettings& settings) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    if (settings.route != nullptr && settings.route->size() > 1) {
        QPolygonF line;
        for (const MapCell& cell : *settings.route)
            line << CellMiddle(view, cell);
        painter.setPen(QPen(kRouteColour, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(line);
    }
    if (settings.findings != nullptr) {
        for (const MapFinding& finding : *settings.findings) {
            if (finding.cell.col < view.firstCol || finding.cell.col >= view.firstCol + view.cols)
                continue;
            const QRectF cell = QRectF(CellInterior(view, finding.cell.col, finding.cell.row));
            switch (finding.kind) {
                case MapFinding::Kind::DeadEnd:
                    painter.setPen(QPen(kDeadEndColour, 4));
                    painter.drawRect(cell.adjusted(2, 2, -2, -2));
                    break;
                case MapFinding::Kind::Unreachable:
                    painter.setPen(QPen(kUnreachableColour, 4));
                    painter.drawLine(cell.topLeft() + QPointF(3, 3),
                                     cell.bottomRight() - QPointF(3, 3));
                    painter.drawLine(cell.topRight() + QPointF(-3, 3),
                                     cell.bottomLeft() + QPointF(3, -3));
                    break;
                case MapFinding::Kind::Furthest:
                    painter.setPen(QPen(kRouteColour, 3, Qt::DashLine));
                    painter.drawEllipse(cell.adjusted(3, 3, -3, -3));
                    break;
                case MapFinding::Kind::Check:
                case MapFinding::Kind::Fault:
                    painter.setPen(QPen(kCheckColour, 3));
                    painter.drawRect(cell.adjusted(2, 2, -2, -2));
                    break;
            }
        }
    }
    painter.restore();
}

}  // namespace

void PaintOverlays(QPainter& painter, const ViewColumns& view, const OverlaySettings& settings) {
    PaintFindings(painter, view, settings);
    const MapCell& hovered = settings.hovered;
    const bool link = hovered.col != 0 && IsLinkTile(mapTiles[hovered.col][hovered.row]);
    if (!settings.solidity && !settings.gates && !link) return;
    const int linkNumber = link ? mapItems[hovered.col][hovered.row] : 0;
    for (int row = 1; row <= kLastRow; ++row) {
        for (int col = view.firstCol; col < view.firstCol + view.cols; ++col) {
            const QRect cell = CellInterior(view, col, row);
            if (settings.solidity && mapSolid[col][row] != 0) painter.fillRect(cell, kSolidTint);
            if (link && IsLinkTile(mapTiles[col][row]) && mapItems[col][row] == linkNumber) {
                FrameCell(painter, cell);
                // A line to the pointed cell joins the linked pair (numbered links only).
                if (linkNumber != 0 && MapCell{col, row} != hovered) {
                    painter.setPen(QPen(kLinkColour, 2));
                    painter.drawLine(CellMiddle(view, hovered), CellMiddle(view, {col, row}));
                }
            }
            if (settings.gates && mapTiles[col][row] == 18) {
                // The three cells above the housing, on their grid lines.
                const QRect gate(cell.left() - 1, cell.top() - 1 - 3 * kViewPitch, kViewPitch,
                                 3 * kViewPitch);
                painter.setPen(QPen(kGateColour, 1));
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(gate);
            }
        }
    }
}

}  // namespace zorvik::editor
