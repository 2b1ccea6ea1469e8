// SPDX-License-Identifier: GPL-3.0-or-later
// The rectangle tool's drag, its preview and its fill.
#include "RectFillTool.h"

#include <QPainter>
#include <algorithm>

#include "PaintTool.h"
#include "PictureBox.h"

namespace zorvik::editor {

RectFillTool::RectFillTool(ToolContext& context)
    : AbstractTool(context, QString::fromUtf8("Obdélník"),
                   QString::fromUtf8("Tažení vyplní obdélník vybranou položkou, pravým tlačítkem "
                                     "ho smaže (při kreslení Shift + tažení)"),
                   QKeySequence(Qt::Key_R)) {}

bool RectFillTool::TakesGesture(const MapPointer& press) const {
    return (press.modifiers & 1) != 0 &&
           (press.buttons == kLeftButton || press.buttons == kRightButton);
}

void RectFillTool::MousePressed(const MapPointer& pointer) {
    if (dragging_ || !pointer.OnMap()) return;
    if (pointer.buttons != kLeftButton && pointer.buttons != kRightButton) return;
    dragging_ = true;
    buttons_ = pointer.buttons;
    from_ = to_ = pointer.cell;
    Context().RepaintViews();
}

void RectFillTool::MouseMoved(const MapPointer& pointer) {
    if (!dragging_ || !pointer.OnMap() || pointer.cell == to_) return;
    to_ = pointer.cell;
    Context().RepaintViews();
}

void RectFillTool::MouseReleased(const MapPointer& pointer) {
    if (!dragging_ || pointer.buttons != buttons_) return;
    dragging_ = false;
    if (pointer.OnMap()) to_ = pointer.cell;
    MapDocument& document = Document();
    document.BeginStep();
    bool edited = false;
    for (int col = std::min(from_.col, to_.col); col <= std::max(from_.col, to_.col); ++col) {
        for (int row = std::min(from_.row, to_.row); row <= std::max(from_.row, to_.row); ++row)
            edited = PaintCell(Context(), MapPointer{{col, row}, buttons_, 0}, true) || edited;
    }
    document.EndStep();
    if (edited) Context().MapEdited();
    Context().RepaintViews();
}

void RectFillTool::PaintPreview(QPainter& painter, const ViewColumns& view) const {
    if (!dragging_) return;
    const QRect area = CellsArea(view, from_, to_);
    const QColor colour = buttons_ == kRightButton ? QColor(255, 64, 64) : QColor(255, 255, 255);
    painter.fillRect(area, QColor(colour.red(), colour.green(), colour.blue(), 64));
    painter.setPen(QPen(colour, 2, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area);
}

}  // namespace zorvik::editor
