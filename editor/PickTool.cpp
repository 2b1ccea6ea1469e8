// SPDX-License-Identifier: GPL-3.0-or-later
// The eyedropper's pick.
#include "PickTool.h"

#include <cstddef>

#include "A_deklare.h"
#include "MapOverlay.h"
#include "PictureBox.h"

namespace zorvik::editor {

int EntryForCell(MapCell cell) {
    const int tile = mapTiles[cell.col][cell.row];
    int item = mapItems[cell.col][cell.row];
    // A platform's or a housing's object number is its link, not an object.
    if (IsLinkTile(tile)) item = 0;
    if (item >= 41 && item <= 45) item = 41;  // rightwards, speeds 1..5
    if (item >= 46 && item <= 50) item = 46;  // leftwards
    for (int entry = 1; entry <= kPaletteEntries; ++entry) {
        const PaletteEntry& candidate = paletteTable[static_cast<size_t>(entry)];
        if (item != 0 ? candidate.item == item : tile != 0 && candidate.tile == tile) return entry;
    }
    return 0;
}

PickTool::PickTool(ToolContext& context)
    : AbstractTool(context, QString::fromUtf8("Kapátko"),
                   QString::fromUtf8("Klepnutí vybere položku palety podle pole (při kreslení "
                                     "prostřední tlačítko nebo Alt + klepnutí)"),
                   QKeySequence(Qt::Key_K)) {}

bool PickTool::TakesGesture(const MapPointer& press) const {
    return press.buttons == kMiddleButton ||
           (press.buttons == kLeftButton && (press.modifiers & 4) != 0);
}

void PickTool::MousePressed(const MapPointer& pointer) {
    if (!pointer.OnMap()) return;
    const int entry = EntryForCell(pointer.cell);
    if (entry == 0) {
        Context().Tell(QString::fromUtf8("Na tomto poli není nic, co by paleta kreslila."));
        return;
    }
    Context().SelectEntry(entry);
}

}  // namespace zorvik::editor
