// SPDX-License-Identifier: GPL-3.0-or-later
// The tool base: its name, status text and shortcut.
#include "AbstractTool.h"

#include <cstdlib>
#include <utility>

namespace zorvik::editor {

AbstractTool::AbstractTool(ToolContext& context, QString name, QString statusText,
                           QKeySequence shortcut)
    : context_(context),
      name_(std::move(name)),
      statusText_(std::move(statusText)),
      shortcut_(std::move(shortcut)) {}

std::vector<MapCell> CellLine(MapCell from, MapCell to) {
    const int dx = std::abs(to.col - from.col);
    const int dy = -std::abs(to.row - from.row);
    const int stepX = from.col < to.col ? 1 : -1;
    const int stepY = from.row < to.row ? 1 : -1;
    int error = dx + dy;
    std::vector<MapCell> cells;
    MapCell at = from;
    for (;;) {
        cells.push_back(at);
        if (at == to) break;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            at.col += stepX;
        }
        if (twice <= dx) {
            error += dx;
            at.row += stepY;
        }
    }
    return cells;
}

}  // namespace zorvik::editor
