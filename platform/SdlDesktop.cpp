// SPDX-License-Identifier: GPL-3.0-or-later
// The game's Wayland app id and window icon.
#include "SdlDesktop.h"

#include <cstdlib>

#include "DesktopIds.h"
#include "WindowIcons.h"

namespace dx {

void NameTheGameForTheDesktop() {
    setenv("SDL_VIDEO_WAYLAND_WMCLASS", zorvik::desktop::kGameId, 0);
    setenv("SDL_APP_NAME", "Zorvik", 0);  // the name sound mixers show beside its volume
}

void SetGameWindowIcon(SDL_Window* window) {
    // SDL only reads the pixels while setting the icon, so the surface may wrap the constant.
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<unsigned char*>(kGameWindowIcon), kWindowIconSize, kWindowIconSize, 32,
        kWindowIconSize * 4, SDL_PIXELFORMAT_RGBA32);
    if (icon == nullptr) return;  // a window without its icon still plays
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}

}  // namespace dx
