// The in-game (pause) menu opened with Escape.
#include "N_Herni_Menu.h"

#include <algorithm>
#include <string>

#include "A_deklarace.h"
#include "D_sub.h"
#include "E_load.h"
#include "J_PismoEfekt.h"
#include "Z_Exit.h"

namespace zorvik {

namespace {

constexpr int kDikEnter = 28;
constexpr int kDikSpace = 57;
constexpr int kDikUp = 200;
constexpr int kDikDown = 208;

const char* const kChoices[] = {"POKRAC*OVAT", "OPAKOVAT LEVEL", "ZPE*T DO MENU",
                                "ZPE*T DO SYSTE-MU"};

bool Down(int dik) {
    return keyState.key[static_cast<size_t>(dik)] != 0;
}

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
        for (;;) {
            keyboard->GetDeviceStateKeyboard(keyState);
            if (Down(kDikUp)) {
                selected = std::max(selected - 1, 1);
                sound028->Play(0);
                break;
            }
            if (Down(kDikDown)) {
                selected = std::min(selected + 1, 4);
                sound028->Play(0);
                break;
            }
            if (Down(kDikSpace) || Down(kDikEnter)) {
                chosen = selected;
                break;
            }
        }
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
