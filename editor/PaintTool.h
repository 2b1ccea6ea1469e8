// SPDX-License-Identifier: GPL-3.0-or-later
// The paint tool: the map edit of a press and of each move with a button held. The left button
// applies the link step, the speed step or the palette entry, as the tool flags (linkMode,
// speedMode) say; the right button erases. A press, its drag and its release are one step.
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
    // One edit of the pointed cell; `press` selects the press's rounding of the speed.
    void Edit(const MapPointer& pointer, bool press);
};

}  // namespace zorvik::editor
