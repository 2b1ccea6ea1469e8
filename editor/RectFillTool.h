// SPDX-License-Identifier: GPL-3.0-or-later
// The rectangle tool: a drag fills every cell of the rectangle from the press to the release
// as one paint edit would (left: the palette entry, or the link or speed step; right: erase),
// in one undo step. While painting, Shift + drag does the same.
#pragma once

#include "AbstractTool.h"

namespace zorvik::editor {

class RectFillTool : public AbstractTool {
  public:
    explicit RectFillTool(ToolContext& context);

    bool TakesGesture(const MapPointer& press) const override;
    void MousePressed(const MapPointer& pointer) override;
    void MouseMoved(const MapPointer& pointer) override;
    void MouseReleased(const MapPointer& pointer) override;
    void PaintPreview(QPainter& painter, const ViewColumns& view) const override;

  private:
    bool dragging_ = false;
    int buttons_ = 0;
    MapCell from_;
    MapCell to_;
};

}  // namespace zorvik::editor
