// SPDX-License-Identifier: GPL-3.0-or-later
// The second part of the level check: what the game itself would trip over in the map's
// layout (exit or goal, board numbers, housings, links, stones, gates), in one message.
#pragma once

#include <QString>

namespace zorvik::editor {

// Heading of the layout findings.
inline const char* const kFurtherFindingsText = "Hra by s timto levelem mela potize:";

// The message listing every layout finding of the map as it is now, one a line under the
// heading; empty when there is none. Run by CheckLevel after its counting rules.
QString LayoutFindingsText();

}  // namespace zorvik::editor
