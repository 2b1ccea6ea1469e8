// SPDX-License-Identifier: GPL-3.0-or-later
// The in-game (pause) menu opened with Escape.
#include "N_Herni_Menu.h"

#include <string>

#include "A_deklarace.h"
#include "D_sub.h"
#include "E_load.h"
#include "J_PismoEfekt.h"
#include "K_Menu.h"
#include "Z_Exit.h"

namespace zorvik {

namespace {

const char* const kChoices[] = {"POKRAC*OVAT", "OPAKOVAT LEVEL", "ZPE*T DO MENU",
                                "ZPE*T DO SYSTE-MU"};

// Starts the level again with a fresh score and three lives; the level number and the extra
// lives already rewarded stay as they are.
void RestartLevel() {
    StopPlayer();
    keyDelay = 100;
    score = 0;
    lives = 3;
    sound017->Play(0);
    LoadLevel();
}

}  // namespace

void RunGameMenu() {
    int16_t frames = static_cast<int16_t>(textDelay / 2);  // half the flight time, truncated
    // The rolling sound loops while the player moves; starting and stopping it silences it.
    sound021->Play(0);
    sound021->Stop();

    int selected = 1;
    int chosen = 0;
    while (chosen == 0) {
        for (int choice = 1; choice <= 4; ++choice) {
            const std::string prefix = choice == selected ? "c" : "z";
            DrawFlyingText(180, static_cast<int16_t>(80 + 40 * choice), 620, 180, frames,
                           prefix + kChoices[choice - 1]);
        }
        frames = 1;
        if (PollMenuKeys(selected)) chosen = selected;
    }

    sound028->Play(0);
    switch (chosen) {
        case 1:
            return;
        case 2:
            RestartLevel();
            return;
        case 3:
            gameLost = kTrue;  // ends the level loop; the game-over screen follows
            return;
        default:
            ExitGame();
    }
}

}  // namespace zorvik
