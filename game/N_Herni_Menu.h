// SPDX-License-Identifier: GPL-3.0-or-later
// The in-game (pause) menu opened with Escape.
#pragma once

namespace zorvik {

// Called by RunLevelLoop in every frame in which Escape is down.
void RunGameMenu();

}  // namespace zorvik
