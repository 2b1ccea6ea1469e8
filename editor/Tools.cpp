// SPDX-License-Identifier: GPL-3.0-or-later
// The registration of the map tools: one line a tool, the default tool first.
#include "LinkTool.h"
#include "PaintTool.h"
#include "PickTool.h"
#include "RectFillTool.h"
#include "SelectTool.h"
#include "ToolManager.h"

namespace zorvik::editor {

void RegisterTools(ToolManager& tools, ToolContext& context) {
    tools.Add(std::make_unique<PaintTool>(context));
    tools.Add(std::make_unique<RectFillTool>(context));
    tools.Add(std::make_unique<PickTool>(context));
    tools.Add(std::make_unique<SelectTool>(context));
    tools.Add(std::make_unique<LinkTool>(context));
}

}  // namespace zorvik::editor
