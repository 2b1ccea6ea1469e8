// SPDX-License-Identifier: GPL-3.0-or-later
// The paint tool: the map edit of a press and of each move with a button held. The left button
// applies the link step, the speed step or the palette entry, as the tool flags (linkMode,
// speedMode) say; the right button erases. A press, its drag and its release are one step; a
// drag edits every cell on the line between two pointer positions, however fast it moves.
#pragma once

#include "AbstractTool.h"

namespace zorvik::editor {

// The paint edit of one cell for the buttons held: the link step, the speed step or the palette
// entry for the left button, erasing for the right one; false when the buttons edit nothing.
// `press` selects the press's rounding of the speed. The rectangle tool edits its cells so too.
bool PaintCell(ToolContext& context, const MapPointer& pointer, bool press);

class PaintTool : public AbstractTool {
  public:
    explicit PaintTool(ToolContext& context);

    void MousePressed(const MapPointer& pointer) override;
    void MouseMoved(const MapPointer& pointer) override;
    void MouseReleased(const MapPointer& pointer) override;
    // Names what a left press does now: paint, link numbers, speeds, or nothing when both
    // the link and the speed tool are on.
    QString StateText() const override;

  private:
    // One edit of the pointed cell, then the redraw; `press` selects the press's rounding of
    // the speed.
    void Edit(const MapPointer& pointer, bool press);

    // The cell of the drag's last position on the map (column 0: none, or the pointer left
    // the map in between).
    MapCell last_;
};

}  // namespace zorvik::editor
