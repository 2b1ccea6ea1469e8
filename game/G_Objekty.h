// SPDX-License-Identifier: GPL-3.0-or-later
// Moving objects: boards (gates over board housings) and stones.
#pragma once

namespace zorvik {

// Called by DrawWorld after the cell loop: moves and draws every board.
void UpdateBoards();
// Called by DrawWorld after UpdateBoards: moves and draws every stone.
void UpdateStones();

}  // namespace zorvik
