// SPDX-License-Identifier: GPL-3.0-or-later
// The per-frame loop of one level: keyboard, key latches, pause menu, player, drawing, flip.
#pragma once

namespace zorvik {

// Called by Form_Load after LoadLevel; returns when levelWon or gameLost is set (or, in
// test-play, levelLeft).
void RunLevelLoop();
// Called by RunLevelLoop, and by the replay and the prover, for each frame: message pump,
// keyboard, latches, pause menu, player, drawing and rules, status line, flip.
void RunLevelFrame();
// Called by RunLevelLoop once per frame right after the keyboard read: counts keyDelay down
// and, once it has run out and input is not blocked, latches the held movement keys.
void LatchMovementKeys();

}  // namespace zorvik
