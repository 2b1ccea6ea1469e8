// SPDX-License-Identifier: GPL-3.0-or-later
// The link tool's drag and the numbering of a new link.
#include "LinkTool.h"

#include <QPainter>
#include <array>

#include "A_deklare.h"
#include "PictureBox.h"

namespace zorvik::editor {

namespace {

constexpr int kPlatformTile = 14;
constexpr int kHousingTile = 18;
constexpr int kHighestLinkNumber = 19;

int TileAt(MapCell cell) {
    return mapTiles[cell.col][cell.row];
}

}  // namespace

int FreeLinkNumber() {
    std::array<bool, kHighestLinkNumber + 1> taken{};
    for (int col = 1; col <= kLastCol; ++col) {
        for (int row = 1; row <= kLastRow; ++row) {
            const int number = mapItems[col][row];
            if (mapTiles[col][row] == kHousingTile && number >= 1 && number <= kHighestLinkNumber)
                taken[static_cast<size_t>(number)] = true;
        }
    }
    for (int number = 1; number <= kHighestLinkNumber; ++number)
        if (!taken[static_cast<size_t>(number)]) return number;
    return 0;
}

LinkTool::LinkTool(ToolContext& context)
    : AbstractTool(context, QString::fromUtf8("Propojení tažením"),
                   QString::fromUtf8("Táhněte od plošinky k prknu (nebo obráceně): dostanou "
                                     "společné číslo"),
                   QKeySequence(Qt::Key_L)) {}

void LinkTool::MousePressed(const MapPointer& pointer) {
    if (pointer.buttons != kLeftButton || !pointer.OnMap()) return;
    if (TileAt(pointer.cell) != kPlatformTile && TileAt(pointer.cell) != kHousingTile) {
        Context().Tell(QString::fromUtf8("Propojení začíná na plošince nebo na prknu."));
        return;
    }
    dragging_ = true;
    from_ = to_ = pointer.cell;
    Context().RepaintViews();
}

void LinkTool::MouseMoved(const MapPointer& pointer) {
    if (!dragging_ || !pointer.OnMap() || pointer.cell == to_) return;
    to_ = pointer.cell;
    Context().RepaintViews();
}

void LinkTool::MouseReleased(const MapPointer& pointer) {
    if (!dragging_) return;
    dragging_ = false;
    if (pointer.OnMap()) Link(from_, pointer.cell);
    Context().RepaintViews();
}

void LinkTool::Link(MapCell a, MapCell b) {
    const bool aIsHousing = TileAt(a) == kHousingTile;
    const MapCell housing = aIsHousing ? a : b;
    const MapCell platform = aIsHousing ? b : a;
    if (TileAt(housing) != kHousingTile || TileAt(platform) != kPlatformTile) {
        Context().Tell(QString::fromUtf8("Propojit lze plošinku s prknem."));
        return;
    }
    int number = mapItems[housing.col][housing.row];
    if (number < 1 || number > kHighestLinkNumber) number = FreeLinkNumber();
    if (number == 0) {
        Context().Tell(QString::fromUtf8("Všech 19 čísel prken je už obsazeno."));
        return;
    }
    MapDocument& document = Document();
    document.BeginStep();
    document.SetCell(mapItems, housing.col, housing.row, static_cast<int16_t>(number));
    document.SetCell(mapItems, platform.col, platform.row, static_cast<int16_t>(number));
    document.EndStep();
    Context().MapEdited();
    Context().Tell(QString::fromUtf8("Plošinka a prkno propojeny číslem %1").arg(number));
}

void LinkTool::PaintPreview(QPainter& painter, const ViewColumns& view) const {
    if (!dragging_) return;
    painter.setPen(QPen(QColor(255, 255, 0), 3));
    painter.drawLine(CellMiddle(view, from_), CellMiddle(view, to_));
}

}  // namespace zorvik::editor
