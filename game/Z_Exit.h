// Shutdown: the desktop and the cursor come back and the program ends.
#pragma once

namespace zorvik {

// Called by the title menu's quit item and the pause menu's last choice; never
// returns.
[[noreturn]] void ExitGame();

}  // namespace zorvik
