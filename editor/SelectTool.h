// SPDX-License-Identifier: GPL-3.0-or-later
// Rectangle selection with cut, copy, paste and delete over all three layers (tiles, solidity,
// objects with their link numbers and speeds). A drag selects (while painting: Ctrl + drag);
// Ctrl+V makes the copied cells follow the pointer until a left click places them (right click
// or Esc drops the paste). Cut, paste and delete are one undo step each.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "AbstractTool.h"

namespace zorvik::editor {

class SelectTool : public AbstractTool {
  public:
    explicit SelectTool(ToolContext& context);

    bool TakesGesture(const MapPointer& press) const override;
    bool HoldsPointer() const override { return pasting_; }
    void MousePressed(const MapPointer& pointer) override;
    void MouseMoved(const MapPointer& pointer) override;
    void MouseReleased(const MapPointer& pointer) override;
    void PaintPreview(QPainter& painter, const ViewColumns& view) const override;
    std::vector<ToolCommand> Commands() override;

    // The commands.
    void Cut();
    void Copy();
    void Paste();
    void Delete();
    void Cancel();

  private:
    // One cell of the clipboard: tile, solidity, object.
    using Cell = std::array<int16_t, 3>;

    // Copies the selection; false (with a note) when there is none.
    bool CopySelection();
    // Empties the selected cells in all three layers, within the open step.
    void EraseSelection();
    // Writes the clipboard with its top left corner at `at`, clipped to the map.
    void Place(MapCell at);
    MapCell TopLeft() const;
    MapCell BottomRight() const;

    bool selected_ = false;
    bool dragging_ = false;
    MapCell from_;
    MapCell to_;
    int clipCols_ = 0;
    int clipRows_ = 0;
    std::vector<Cell> clipboard_;  // row by row
    QImage picture_;               // the copied cells as drawn, for the paste's preview
    bool pasting_ = false;
    MapCell pasteAt_;
};

}  // namespace zorvik::editor
