// SPDX-License-Identifier: GPL-3.0-or-later
// The end-of-game screens: victory and game over.
#pragma once

namespace zorvik {

// Called by Form_Load when levelWon is set.
void ShowVictoryScreen();
// Called by Form_Load when gameLost is set.
void ShowGameOverScreen();

}  // namespace zorvik
