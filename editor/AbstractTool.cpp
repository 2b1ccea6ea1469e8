// SPDX-License-Identifier: GPL-3.0-or-later
// The tool base: its name, status text and shortcut.
#include "AbstractTool.h"

#include <utility>

namespace zorvik::editor {

AbstractTool::AbstractTool(ToolContext& context, QString name, QString statusText,
                           QKeySequence shortcut)
    : context_(context),
      name_(std::move(name)),
      statusText_(std::move(statusText)),
      shortcut_(std::move(shortcut)) {}

}  // namespace zorvik::editor
