// SPDX-License-Identifier: GPL-3.0-or-later
// The game's only window and its start-up event, which runs the whole game.
#include "Form1.h"

#include "A_deklarace.h"
#include "B_inicializuj.h"
#include "C_mainloop.h"
#include "E_load.h"
#include "K_Menu.h"
#include "L_Vitezstvi.h"
#include "M_Test_FPS.h"
#include "Z_Exit.h"

namespace zorvik {

void Form_Load() {
    // The host's window already covers the whole screen; setting the display mode in
    // InitDirectX shows it.
    dx::ShowCursor(false);
    InitDirectX();
    if (StartupFailed()) {
        // The message has been shown; running on would only use the objects that are missing.
        RestoreDesktop();
        dx::EndProgram(1);
    }
    MeasureFrameRate();

    if (!testLevelPath.empty()) {
        // Test-play: one level from its intro card, no title, end screen or name entry. The
        // level exit ends the program too (LeaveLevel).
        LoadLevel();
        RunLevelLoop();
        ExitGame();
    }
    for (;;) {
        RunTitleMenu();
        LoadLevel();
        RunLevelLoop();
        if (levelWon != 0) ShowVictoryScreen();
        if (gameLost != 0) ShowGameOverScreen();
    }
}

}  // namespace zorvik
