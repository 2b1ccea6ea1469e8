// The per-frame loop of one level: keyboard, key latches, pause menu, player, drawing, flip.
#pragma once

namespace zorvik {

// Called by Form_Load after LoadLevel; returns when levelWon or gameLost is set.
void RunLevelLoop();

}  // namespace zorvik
