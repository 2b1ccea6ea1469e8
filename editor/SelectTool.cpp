// SPDX-License-Identifier: GPL-3.0-or-later
// The selection, the clipboard and their commands.
#include "SelectTool.h"

#include <QPainter>
#include <algorithm>
#include <cstddef>

#include "A_deklare.h"
#include "PictureBox.h"

namespace zorvik::editor {

namespace {

const QColor kSelectionColour(0, 200, 255);
const QColor kPasteColour(255, 160, 0);

void FrameArea(QPainter& painter, const QRect& area, const QColor& colour, int fillAlpha) {
    painter.fillRect(area, QColor(colour.red(), colour.green(), colour.blue(), fillAlpha));
    painter.setPen(QPen(colour, 2, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area);
}

}  // namespace

SelectTool::SelectTool(ToolContext& context)
    : AbstractTool(context, QString::fromUtf8("Výběr"),
                   QString::fromUtf8("Tažení vybere obdélník (při kreslení Ctrl + tažení); "
                                     "Ctrl+X, Ctrl+C, Ctrl+V, Delete"),
                   QKeySequence(Qt::Key_S)) {}

bool SelectTool::TakesGesture(const MapPointer& press) const {
    return press.buttons == kLeftButton && (press.modifiers & 2) != 0;
}

std::vector<ToolCommand> SelectTool::Commands() {
    return {
        {QStringLiteral("Vyjmout"), QKeySequence(Qt::CTRL | Qt::Key_X), [this] { Cut(); }},
        {QString::fromUtf8("Kopírovat"), QKeySequence(Qt::CTRL | Qt::Key_C), [this] { Copy(); }},
        {QString::fromUtf8("Vložit"), QKeySequence(Qt::CTRL | Qt::Key_V), [this] { Paste(); }},
        {QString::fromUtf8("Smazat výběr"), QKeySequence(Qt::Key_Delete), [this] { Delete(); }},
        {QString::fromUtf8("Zrušit výběr"), QKeySequence(Qt::Key_Escape), [this] { Cancel(); }},
    };
}

void SelectTool::MousePressed(const MapPointer& pointer) {
    if (pasting_) {
        if (pointer.buttons == kLeftButton && pointer.OnMap()) Place(pointer.cell);
        if (pointer.buttons == kRightButton) Cancel();
        return;
    }
    if (pointer.buttons != kLeftButton || !pointer.OnMap()) return;
    dragging_ = true;
    selected_ = true;
    from_ = to_ = pointer.cell;
    Context().RepaintViews();
}

void SelectTool::MouseMoved(const MapPointer& pointer) {
    if (!pointer.OnMap()) return;
    if (pasting_ && pointer.cell != pasteAt_) {
        pasteAt_ = pointer.cell;
        Context().RepaintViews();
    } else if (dragging_ && pointer.cell != to_) {
        to_ = pointer.cell;
        Context().RepaintViews();
    }
}

void SelectTool::MouseReleased(const MapPointer& pointer) {
    if (!dragging_) return;
    dragging_ = false;
    if (pointer.OnMap()) to_ = pointer.cell;
    Context().Tell(QString::fromUtf8("Vybráno %1 × %2 polí")
                       .arg(BottomRight().col - TopLeft().col + 1)
                       .arg(BottomRight().row - TopLeft().row + 1));
    Context().RepaintViews();
}

MapCell SelectTool::TopLeft() const {
    return {std::min(from_.col, to_.col), std::min(from_.row, to_.row)};
}

MapCell SelectTool::BottomRight() const {
    return {std::max(from_.col, to_.col), std::max(from_.row, to_.row)};
}

bool SelectTool::CopySelection() {
    if (!selected_) {
        Context().Tell(QString::fromUtf8("Nejdřív vyberte obdélník (Ctrl + tažení)."));
        return false;
    }
    const MapCell first = TopLeft();
    const MapCell last = BottomRight();
    clipCols_ = last.col - first.col + 1;
    clipRows_ = last.row - first.row + 1;
    clipboard_.clear();
    picture_ = Context().CellsPicture(first, last);
    for (int row = first.row; row <= last.row; ++row) {
        for (int col = first.col; col <= last.col; ++col)
            clipboard_.push_back({mapTiles[col][row], mapSolid[col][row], mapItems[col][row]});
    }
    return true;
}

void SelectTool::EraseSelection() {
    MapDocument& document = Document();
    for (int row = TopLeft().row; row <= BottomRight().row; ++row) {
        for (int col = TopLeft().col; col <= BottomRight().col; ++col) {
            document.SetCell(mapTiles, col, row, 0);
            document.SetCell(mapSolid, col, row, 0);
            document.SetCell(mapItems, col, row, 0);
        }
    }
}

void SelectTool::Copy() {
    CopySelection();
}

void SelectTool::Cut() {
    if (!CopySelection()) return;
    Document().BeginStep();
    EraseSelection();
    Document().EndStep();
    Context().MapEdited();
}

void SelectTool::Delete() {
    if (!selected_) return;
    Document().BeginStep();
    EraseSelection();
    Document().EndStep();
    Context().MapEdited();
}

void SelectTool::Paste() {
    if (clipboard_.empty()) {
        Context().Tell(QString::fromUtf8("Schránka je prázdná: nejdřív kopírujte (Ctrl+C)."));
        return;
    }
    pasting_ = true;
    pasteAt_ = Context().Hovered().col != 0 ? Context().Hovered() : MapCell{1, 1};
    Context().Tell(QString::fromUtf8("Klepnutím vložíte, Esc nebo pravé tlačítko ruší"));
    Context().RepaintViews();
}

void SelectTool::Place(MapCell at) {
    MapDocument& document = Document();
    document.BeginStep();
    for (int r = 0; r < clipRows_; ++r) {
        for (int c = 0; c < clipCols_; ++c) {
            const int col = at.col + c;
            const int row = at.row + r;
            if (col > kLastCol || row > kLastRow) continue;
            const Cell& cell = clipboard_[static_cast<size_t>(r * clipCols_ + c)];
            document.SetCell(mapTiles, col, row, cell[0]);
            document.SetCell(mapSolid, col, row, cell[1]);
            document.SetCell(mapItems, col, row, cell[2]);
        }
    }
    document.EndStep();
    pasting_ = false;
    // The pasted cells become the selection, ready to be pasted again.
    selected_ = true;
    from_ = at;
    to_ = {std::min(at.col + clipCols_ - 1, kLastCol), std::min(at.row + clipRows_ - 1, kLastRow)};
    Context().MapEdited();
    Context().RepaintViews();
}

void SelectTool::Cancel() {
    if (!pasting_ && !selected_) return;
    pasting_ = false;
    selected_ = false;
    dragging_ = false;
    Context().RepaintViews();
}

void SelectTool::PaintPreview(QPainter& painter, const ViewColumns& view) const {
    auto visible = [&view](MapCell a, MapCell b) {
        return std::max(a.col, b.col) >= view.firstCol &&
               std::min(a.col, b.col) < view.firstCol + view.cols;
    };
    auto clip = [&view](MapCell cell) {
        return MapCell{std::clamp(cell.col, view.firstCol, view.firstCol + view.cols - 1),
                       cell.row};
    };
    if (selected_ && visible(from_, to_))
        FrameArea(painter, CellsArea(view, clip(from_), clip(to_)), kSelectionColour, 40);
    if (pasting_) {
        // The copied cells where they would go (what falls off the map is cut), half seen.
        const MapCell end{std::min(pasteAt_.col + clipCols_ - 1, kLastCol),
                          std::min(pasteAt_.row + clipRows_ - 1, kLastRow)};
        const QRect area = CellsArea(view, pasteAt_, end);
        painter.save();
        painter.setOpacity(0.8);
        painter.drawImage(area.topLeft(), picture_, QRect(QPoint(0, 0), area.size()));
        painter.restore();
        FrameArea(painter, area, kPasteColour, 0);
    }
}

}  // namespace zorvik::editor
