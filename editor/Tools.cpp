// SPDX-License-Identifier: GPL-3.0-or-later
// The registration of the map tools: one line a tool, the default tool first.
#include "PaintTool.h"
#include "ToolManager.h"

namespace zorvik::editor {

void RegisterTools(ToolManager& tools, ToolContext& context) {
    tools.Add(std::make_unique<PaintTool>(context));
}

}  // namespace zorvik::editor
