// SPDX-License-Identifier: GPL-3.0-or-later
// Shutdown: the desktop and the cursor come back and the program ends.
#include "Z_Exit.h"

#include "A_deklarace.h"

namespace zorvik {

void RestoreDesktop() {
    playerSheet.reset();
    tileSheet.reset();
    tileCanvas.reset();
    backgroundImage.reset();
    parallaxStrip.reset();
    objectSheet.reset();
    backdropSurface.reset();
    if (keyboard) keyboard->Unacquire();
    if (directDraw) {
        directDraw->RestoreDisplayMode();
        directDraw->SetCooperativeLevel(dx::kGameWindow, dx::DDSCL_NORMAL);
    }
    dx::ShowCursor(true);
}

void ExitGame() {
    RestoreDesktop();
    dx::EndProgram(0);
}

}  // namespace zorvik
