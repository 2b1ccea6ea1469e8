// SPDX-License-Identifier: GPL-3.0-or-later
// Shutdown: the desktop and the cursor come back and the program ends.
#pragma once

namespace zorvik {

// Called by the title menu's quit item, the pause menu's last choice and the host when the
// window is closed or the program is told to stop; never returns.
[[noreturn]] void ExitGame();
// Called by ExitGame, by Form_Load after a failed start-up and by main after a fatal error:
// releases the pictures, lets go of the keyboard and gives the display mode and the cursor
// back. Copes with a start-up that stopped half-way (objects not created are skipped).
void RestoreDesktop();

}  // namespace zorvik
