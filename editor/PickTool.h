// SPDX-License-Identifier: GPL-3.0-or-later
// The eyedropper: a click makes the palette entry of the pointed cell's object (or, without
// one, of its tile) the entry painted with, as a press on the palette does. While painting, a
// middle click or Alt + click picks too.
#pragma once

#include "AbstractTool.h"

namespace zorvik::editor {

// The palette entry 1..32 that paints what the cell holds: its object, else its tile; 0 for an
// empty cell or a code no entry paints. Flexible enemies give the entry of their direction.
int EntryForCell(MapCell cell);

class PickTool : public AbstractTool {
  public:
    explicit PickTool(ToolContext& context);

    bool TakesGesture(const MapPointer& press) const override;
    void MousePressed(const MapPointer& pointer) override;
    void MouseMoved(const MapPointer&) override {}
    void MouseReleased(const MapPointer&) override {}
};

}  // namespace zorvik::editor
