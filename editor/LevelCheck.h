// SPDX-License-Identifier: GPL-3.0-or-later
// The second part of the level check: what the game itself would trip over in the map's
// layout (exit or goal, board numbers, housings, links, stones, gates), in one message; and
// what test-play needs before the game can run the map at all.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "ProveReport.h"

namespace zorvik::editor {

// Heading of the layout findings.
inline const char* const kFurtherFindingsText = "Hra by s timto levelem mela potize:";

// The message listing every layout finding of the map as it is now, one a line under the
// heading; empty when there is none. Run by CheckLevel after its counting rules.
QString LayoutFindingsText();

// The same findings one by one with their cells, for the map views and the findings list.
std::vector<MapFinding> LayoutFindings();

// What the map lacks for the game to play it: a player start, an exit or goal. Empty when the
// game can start it. Each entry one line in Czech; run before test-play.
QStringList MissingForPlay();

}  // namespace zorvik::editor
