// SPDX-License-Identifier: GPL-3.0-or-later
// DirectX start-up: display, keyboard, sound, every surface and sound buffer from the data
// files, and the new-game reset.
#pragma once

namespace zorvik {

// Called once by Form_Load: creates the DirectX objects, loads surfaces, sounds and the
// high-score table, then runs ResetNewGame. Reports its own failures in a message box.
void InitDirectX();
// Called by InitDirectX: the nine picture surfaces of the data files, with colour keys.
void LoadSurfaces();
// Called by InitDirectX: every sound buffer of the data files, with volumes.
void LoadSounds();
// Called by InitDirectX and by the title menu: the game state of a new game.
void ResetNewGame();
// Called by Form_Load after InitDirectX: true when the last InitDirectX showed one of its
// three failure messages, so objects the game needs are missing.
bool StartupFailed();

}  // namespace zorvik
