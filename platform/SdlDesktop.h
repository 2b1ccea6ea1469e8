// SPDX-License-Identifier: GPL-3.0-or-later
// What ties the game's window to its desktop entry: the Wayland app id and the window icon.
// Used only by the SDL host.
#pragma once

#include <SDL.h>

namespace dx {

// Called before SDL starts its video: the Wayland app id becomes the desktop entry's id (X11
// keeps the program's name as its class, which the entry's StartupWMClass names). A value the
// user set in SDL_VIDEO_WAYLAND_WMCLASS is kept. The sound server gets the name "Zorvik".
void NameTheGameForTheDesktop();

// Puts the game's icon on the window (X11 shows it in task bars and window switchers; Wayland
// takes the icon from the desktop entry).
void SetGameWindowIcon(SDL_Window* window);

}  // namespace dx
