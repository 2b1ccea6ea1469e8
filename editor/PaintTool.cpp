// SPDX-License-Identifier: GPL-3.0-or-later
// The paint tool's edits: link step, speed step, paint step and erase.
#include "PaintTool.h"

#include <algorithm>
#include <cstddef>

#include "A_deklare.h"
#include "Numbers.h"
#include "PictureBox.h"

namespace zorvik::editor {

namespace {

// The number typed in a text box, as the link and speed tools read it: leading blanks
// skipped, the numeric prefix taken (0 without one).
double TypedNumber(const QString& text) {
    return ReadNumber(text.toStdString());
}

// A whole number in the 16-bit range: rounded, ties to even, then clamped.
int16_t Clamp16(double value) {
    return static_cast<int16_t>(std::clamp(RoundHalfEven(value), -32768.0, 32767.0));
}

}  // namespace

PaintTool::PaintTool(ToolContext& context)
    : AbstractTool(context, QString::fromUtf8("Kreslení"),
                   QString::fromUtf8("Levé tlačítko kreslí vybranou položku palety, pravé maže"),
                   QKeySequence(Qt::Key_B)) {}

void PaintTool::MousePressed(const MapPointer& pointer) {
    last_ = pointer.cell;
    if (!pointer.OnMap()) return;
    // A press starts a new undo step; the moves of its drag and its release add to it.
    if (pointer.buttons == kLeftButton || pointer.buttons == kRightButton) Document().BeginStep();
    Edit(pointer, true);
}

void PaintTool::MouseMoved(const MapPointer& pointer) {
    const MapCell from = last_;
    last_ = pointer.cell;
    if (!pointer.OnMap()) return;
    if (from.col == 0) {
        Edit(pointer, false);
        return;
    }
    // The cells the pointer crossed since the last event, without the one already edited.
    const std::vector<MapCell> line = CellLine(from, pointer.cell);
    bool edited = false;
    for (size_t i = line.size() > 1 ? 1 : 0; i < line.size(); ++i) {
        MapPointer crossed = pointer;
        crossed.cell = line[i];
        edited = PaintCell(Context(), crossed, false) || edited;
    }
    if (edited) Context().MapEdited();
}

void PaintTool::MouseReleased(const MapPointer&) {
    last_ = MapCell{};
    Document().EndStep();
}

QString PaintTool::StateText() const {
    if (linkMode != 0 && speedMode != 0)
        return QString::fromUtf8("Propojování a rychlost: levé tlačítko mění čísla, nekreslí");
    if (linkMode != 0) return QString::fromUtf8("Propojování: číslo z pole se zapíše do prken");
    if (speedMode != 0) return QString::fromUtf8("Rychlost: zapíše se nepřátelům");
    return Name();
}

void PaintTool::Edit(const MapPointer& pointer, bool press) {
    if (PaintCell(Context(), pointer, press)) Context().MapEdited();
}

bool PaintCell(ToolContext& context, const MapPointer& pointer, bool press) {
    const int col = pointer.cell.col;
    const int row = pointer.cell.row;
    MapDocument& document = context.Document();
    if (pointer.buttons == kLeftButton) {
        if (linkMode != 0) {
            if (mapTiles[col][row] == 14 || mapTiles[col][row] == 18) {
                document.SetCell(mapItems, col, row, Clamp16(TypedNumber(context.LinkText())));
            }
        }
        if (speedMode != 0) {
            // A press clamps the typed number and rounds only the final code; a drag rounds
            // the number first. The two differ for halves (2.5 gives 48 on a press on 46,
            // 47 on a drag).
            const double typed = TypedNumber(context.SpeedText());
            const double speed = press ? std::clamp(typed, 1.0, 5.0)
                                       : std::clamp(static_cast<double>(Clamp16(typed)), 1.0, 5.0);
            const int item = mapItems[col][row];
            if (item >= 46 && item <= 50) {
                document.SetCell(mapItems, col, row, Clamp16(45 + speed));
            } else if (item >= 41 && item <= 45) {
                document.SetCell(mapItems, col, row, Clamp16(40 + speed));
            }
        }
        if (linkMode == 0 && speedMode == 0) {
            const PaletteEntry& entry = paletteTable[static_cast<size_t>(selectedEntry)];
            // The stone marks the object only, keeping the ground it rests on.
            if (entry.item != 20) {
                document.SetCell(mapTiles, col, row, entry.tile);
                document.SetCell(mapSolid, col, row, entry.solid);
            }
            document.SetCell(mapItems, col, row, entry.item);
        }
        return true;
    }
    if (pointer.buttons == kRightButton) {
        document.SetCell(mapTiles, col, row, 0);
        document.SetCell(mapSolid, col, row, 0);
        document.SetCell(mapItems, col, row, 0);
        return true;
    }
    return false;
}

}  // namespace zorvik::editor
