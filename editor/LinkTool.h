// SPDX-License-Identifier: GPL-3.0-or-later
// Linking without typing: a drag from a platform to a board housing (or back) gives both the
// housing's link number, or, when the housing has none yet, the lowest number 1..19 no other
// housing holds. One undo step; a line follows the pointer during the drag.
#pragma once

#include "AbstractTool.h"

namespace zorvik::editor {

// The lowest link number 1..19 that no board housing holds; 0 when all are taken.
int FreeLinkNumber();

class LinkTool : public AbstractTool {
  public:
    explicit LinkTool(ToolContext& context);

    void MousePressed(const MapPointer& pointer) override;
    void MouseMoved(const MapPointer& pointer) override;
    void MouseReleased(const MapPointer& pointer) override;
    void PaintPreview(QPainter& painter, const ViewColumns& view) const override;

  private:
    // Links the platform and the housing among `a` and `b`; a note says what happened.
    void Link(MapCell a, MapCell b);

    bool dragging_ = false;
    MapCell from_;
    MapCell to_;
};

}  // namespace zorvik::editor
