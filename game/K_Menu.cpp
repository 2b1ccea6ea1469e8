// SPDX-License-Identifier: GPL-3.0-or-later
// The title menu with its intro wipe, the story, the high-score view and the credits.
#include "K_Menu.h"

#include <algorithm>
#include <string>

#include "A_deklarace.h"
#include "B_inicializuj.h"
#include "DikCodes.h"
#include "J_PismoEfekt.h"
#include "Z_Exit.h"

namespace zorvik {

namespace {

using namespace dx::keys;

constexpr dx::RECT kScreen{0, 0, dx::kScreenWidth, dx::kScreenHeight};
// The part of the title picture covered by the menu, the table and the credits.
constexpr dx::RECT kMenuArea{190, 145, 640, 480};

struct TextLine {
    int16_t x;
    int16_t y;
    int16_t right;
    int16_t left;
    const char* text;
};

const char* const kItems[] = {"NOVA- HRA", "HI SCORE", "CREDITS", "UKONC*ENI- HRY"};

const TextLine kStory[] = {
    {10, 10, 630, 10,
     "zMOCNY- C*ARODE*J JE POZ*A-DA-N STARY-M PR*I-TELEM O HOJIVY- LEKTVAR. ZAC*NE JEJ TEDY "
     "MI-CHAT PODLE RECEPTU KOUZELNE- KNIHY. PEC*LIVE* MI-CHA- VS*ECHNY PR*I-SADY. AZ* "
     "NAJEDNOU..."},
    {10, 190, 630, 10,
     "zOBSAH JEDNOHO VA-C*KU JE PRA-ZDNY-. DLOUHO NEOTA-LI- A POSI-LA- SVE-HO MAGICKE-HO "
     "POMOCNI-KA PRO CHYBE*JI-CI- PR*I-SADU."},
    {90, 430, 620, 100, "c...STISKNI MEZERNI-K..."},
};

const TextLine kCredits[] = {
    {240, 150, 630, 10, "zNAPROGRAMOVAL"},  {240, 180, 630, 10, "cORLAN VEDIXx"},
    {240, 220, 630, 10, "zNAKRESLIL"},      {240, 250, 630, 10, "cORLAN VEDIXx"},
    {240, 290, 630, 10, "zOZVUC*IL"},       {240, 320, 630, 10, "cORLAN VEDIXx"},
    {240, 350, 630, 10, "cJARNOK VESTILx"},
};

void PollKeyboard() {
    keyboard->GetDeviceStateKeyboard(keyState);
}
bool Down(int dik) {
    return keyState.key[static_cast<size_t>(dik)] != 0;
}

void WaitForConfirmKey() {
    do {
        PollKeyboard();
    } while (!Down(kDikSpace) && !Down(kDikEnter) && !Down(kDikKeypadEnter));
}

void DrawItems(int selected, int16_t& frames) {
    for (int item = 1; item <= 4; ++item) {
        const std::string prefix = item == selected ? "c" : "z";
        DrawFlyingText(250, static_cast<int16_t>(110 + 40 * item), 620, 250, frames,
                       prefix + kItems[item - 1]);
    }
}

// The ten table lines: the name, dots up to one column, then the score as loaded.
void DrawHiScoreLines(int16_t& frames) {
    const std::string dots(84, '.');
    for (int i = 1; i <= 10; ++i) {
        const std::string& name = hiScoreNames[static_cast<size_t>(i)];
        const size_t dotCount = name.size() < 13 ? 13 - name.size() : 0;
        const std::string line = std::string(i == 1 ? "c" : "z") + name + dots.substr(0, dotCount) +
                                 hiScoreValues[static_cast<size_t>(i)];
        DrawFlyingText(190, static_cast<int16_t>(120 + 30 * i), 640, 222, frames, line);
    }
}

// The story before a new game; Escape may cut any of its texts short, and the game then starts
// at once.
void ShowStory() {
    primarySurface->BltColorFill(kScreen, 0);
    int16_t frames = textDelay;
    textSkippable = kTrue;
    for (const TextLine& line : kStory) {
        DrawFlyingText(line.x, line.y, line.right, line.left, frames, line.text);
        if (textSkipped == kTrue) return;
    }
    do {
        PollKeyboard();
    } while (!Down(kDikSpace));
    sound028->Play(0);
}

void ShowHiScores() {
    primarySurface->BltColorFill(kMenuArea, 0);
    int16_t frames = textDelay;
    DrawHiScoreLines(frames);
    WaitForConfirmKey();
    sound028->Play(0);
}

void ShowCredits() {
    primarySurface->BltColorFill(kMenuArea, 0);
    int16_t frames = textDelay;
    for (const TextLine& line : kCredits) {
        DrawFlyingText(line.x, line.y, line.right, line.left, frames, line.text);
    }
    WaitForConfirmKey();
    sound028->Play(0);
}

}  // namespace

bool PollMenuKeys(int& selected) {
    for (;;) {
        PollKeyboard();
        if (Down(kDikUp)) {
            selected = std::max(selected - 1, 1);
            sound028->Play(0);
            return false;
        }
        if (Down(kDikDown)) {
            selected = std::min(selected + 1, 4);
            sound028->Play(0);
            return false;
        }
        if (Down(kDikEnter) || Down(kDikSpace)) return true;
    }
}

void RunTitleMenu() {
    // The victory screen leaves its own picture in backdropSurface: reload the title every time.
    dx::DDSURFACEDESC2 desc;
    desc.lFlags = dx::DDSD_CAPS | dx::DDSD_HEIGHT | dx::DDSD_WIDTH;
    desc.ddsCaps.lCaps = dx::DDSCAPS_OFFSCREENPLAIN;
    desc.lWidth = dx::kScreenWidth;
    desc.lHeight = dx::kScreenHeight;
    backdropSurface = directDraw->CreateSurfaceFromFile(GamePath("/data/010.dat"), desc);
    backdropSurface->SetColorKey(dx::DDCKEY_SRCBLT, dx::DDCOLORKEY{});

    if (introShown == kFalse) PlayTitleIntro();
    introShown = kTrue;

    backBuffer->BltFast(0, 0, backdropSurface.get(), kScreen, dx::DDBLTFAST_WAIT);
    primarySurface->Flip(nullptr, dx::DDFLIP_WAIT);
    ResetNewGame();

    for (;;) {
        primarySurface->BltColorFill(kMenuArea, 0);
        int16_t frames = textDelay;
        int selected = 1;
        int chosen = 0;
        while (chosen == 0) {
            DrawItems(selected, frames);
            frames = 1;  // every redraw after a key press is immediate
            if (PollMenuKeys(selected)) chosen = selected;
        }
        sound028->Play(0);
        switch (chosen) {
            case 1:
                ShowStory();
                return;
            case 2:
                ShowHiScores();
                break;
            case 3:
                ShowCredits();
                break;
            default:
                ExitGame();
        }
    }
}

void PlayTitleIntro() {
    backBuffer->BltColorFill(kScreen, 0);
    for (int32_t y = 479; y >= 1; --y) {
        backBuffer->BltFast(0, y, backdropSurface.get(), dx::RECT{0, y, 640, 480},
                            dx::DDBLTFAST_WAIT);
        // The nine rows just above the revealed part, stretched over everything above it.
        if (y >= 10) {
            backBuffer->Blt(dx::RECT{0, 0, 640, y}, backdropSurface.get(),
                            dx::RECT{0, y - 10, 640, y - 1}, dx::DDBLT_WAIT);
        }
        primarySurface->Flip(nullptr, dx::DDFLIP_WAIT);
        PollKeyboard();
        const bool skip =
            Down(kDikSpace) || Down(kDikEscape) || Down(kDikEnter) || Down(kDikKeypadEnter);
        if (skip && y < 450) return;  // the first thirty steps cannot be skipped
    }
}

}  // namespace zorvik
