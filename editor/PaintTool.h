// SPDX-License-Identifier: GPL-3.0-or-later
// The paint tool: the map edit of a press and of each move with a button held. The left button
// applies the link step, the speed step or the palette entry, as the tool flags (linkMode,
// speedMode) say; the right button erases. A press, its drag and its release are one step; a
// drag edits every cell on the line between two pointer positions, however fast it moves.
#pragma once

#include "AbstractTool.h"

namespace zorvik::editor {

class PaintTool : public AbstractTool {
  public:
    explicit PaintTool(ToolContext& context);

    void MousePressed(const MapPointer& pointer) override;
    void MouseMoved(const MapPointer& pointer) override;
    void MouseReleased(const MapPointer& pointer) override;

  private:
    // One edit of the pointed cell, then the redraw; `press` selects the press's rounding of
    // the speed.
    void Edit(const MapPointer& pointer, bool press);
    // The edit alone; false when the buttons held edit nothing.
    bool EditCell(const MapPointer& pointer, bool press);

    // The cell of the drag's last position on the map (column 0: none, or the pointer left
    // the map in between).
    MapCell last_;
};

}  // namespace zorvik::editor
