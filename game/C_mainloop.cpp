// SPDX-License-Identifier: GPL-3.0-or-later
// The per-frame loop of one level: keyboard, key latches, pause menu, player, drawing, flip.
#include "C_mainloop.h"

#include "A_deklarace.h"
#include "D_sub.h"
#include "DikCodes.h"
#include "F_Vykresli.h"
#include "H_Score_atd.h"
#include "N_Herni_Menu.h"

namespace zorvik {

namespace {

using namespace dx::keys;

bool Down(int dik) {
    return keyState.key[static_cast<size_t>(dik)] != 0;
}

// Focus lost while the level is played pauses it; a loss during the pause menu or an intro card
// (shown from inside a frame) is not counted.
uint32_t focusLossesSeen = 0;

}  // namespace

void LatchMovementKeys() {
    keyDelay = static_cast<int16_t>(keyDelay - 1);
    if (keyDelay < 0) keyDelay = 0;
    if (keyDelay != 0 || inputBlocked != 0) return;
    // Latches are only set here; the player update clears them after its action choice.
    if (Down(kDikRight)) keyRightLatch = kTrue;
    if (Down(kDikLeft)) keyLeftLatch = kTrue;
    if (Down(kDikUp)) keyUpLatch = kTrue;
    if (Down(kDikLeftCtrl) || Down(kDikRightCtrl)) keyCtrlLatch = kTrue;
    if (Down(kDikLeftShift) || Down(kDikRightShift)) keyShiftLatch = kTrue;
}

void RunLevelFrame() {
    dx::DoEvents();
    keyboard->GetDeviceStateKeyboard(keyState);
    LatchMovementKeys();
    const bool focusLost = dx::FocusLossCount() != focusLossesSeen;
    // Read straight from the keyboard, so the menu opens even while input is blocked.
    if (Down(kDikEscape) || focusLost) RunGameMenu();
    focusLossesSeen = dx::FocusLossCount();

    UpdatePlayerMotion();
    UpdatePlayerFrameRect();
    ApplyGravity();

    DrawBackground();
    DrawWorld();
    DrawPlayerAndPickups();
    DrawStatusLine();
    focusLossesSeen = dx::FocusLossCount();

    primarySurface->Flip(nullptr, dx::DDFLIP_WAIT);
}

void RunLevelLoop() {
    focusLossesSeen = dx::FocusLossCount();
    do {
        RunLevelFrame();
    } while (levelWon == 0 && gameLost == 0 && levelLeft == 0);
}

}  // namespace zorvik
