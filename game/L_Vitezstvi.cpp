// SPDX-License-Identifier: GPL-3.0-or-later
// The end-of-game screens: victory and game over.
#include "L_Vitezstvi.h"

#include "A_deklarace.h"
#include "J_PismoEfekt.h"
#include "N_HI_Score.h"

namespace zorvik {

namespace {

constexpr int kDikSpace = 57;
constexpr dx::RECT kScreen{0, 0, dx::kScreenWidth, dx::kScreenHeight};

// The rolling sound may still loop from the last frame of play; starting and stopping it
// silences it.
void SilenceRolling() {
    sound021->Play(0);
    sound021->Stop();
}

void WaitForSpace() {
    do {
        keyboard->GetDeviceStateKeyboard(keyState);
    } while (keyState.key[kDikSpace] == 0);
}

}  // namespace

void ShowVictoryScreen() {
    SilenceRolling();

    // The victory picture replaces the title picture until the title menu reloads it.
    dx::DDSURFACEDESC2 desc;
    desc.lFlags = dx::DDSD_CAPS | dx::DDSD_HEIGHT | dx::DDSD_WIDTH;
    desc.ddsCaps.lCaps = dx::DDSCAPS_OFFSCREENPLAIN;
    desc.lWidth = dx::kScreenWidth;
    desc.lHeight = dx::kScreenHeight;
    try {
        backdropSurface = directDraw->CreateSurfaceFromFile(GamePath("/data/011.dat"), desc);
    } catch (const dx::PlatformError&) {
        // A damaged or missing picture must not cost the player the entry in the table: the
        // screen goes on over black.
        backdropSurface = directDraw->CreateSurface(desc);
        backdropSurface->BltColorFill(kScreen, 0);
    }
    backdropSurface->SetColorKey(dx::DDCKEY_SRCBLT, dx::DDCOLORKEY{});

    backBuffer->BltFast(0, 0, backdropSurface.get(), kScreen, dx::DDBLTFAST_WAIT);
    primarySurface->Flip(nullptr, dx::DDFLIP_WAIT);
    sound018->Play(0);

    int16_t frames = textDelay;
    DrawFlyingText(25, 10, 620, 25, frames, "cGRATULUJI K NALEZENI- BYLINKY");
    DrawFlyingText(90, 445, 620, 100, frames, "z...STISKNI MEZERNI-K...");
    WaitForSpace();
    EnterHiScore();
}

void ShowGameOverScreen() {
    SilenceRolling();
    primarySurface->BltColorFill(kScreen, 0);

    int16_t frames = textDelay;
    DrawFlyingText(200, 150, 620, 200, frames, "cKONEC HRY");
    DrawFlyingText(90, 430, 620, 100, frames, "z...STISKNI MEZERNI-K...");
    WaitForSpace();
    EnterHiScore();
}

}  // namespace zorvik
