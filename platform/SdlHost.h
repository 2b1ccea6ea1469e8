// SPDX-License-Identifier: GPL-3.0-or-later
// The host of the real game: a fullscreen SDL window at the desktop's resolution showing the
// 640 x 480 picture letterboxed, SDL's keyboard mapped to DirectInput scan codes, the mixer in
// SDL's audio callback (silent when there is no audio device) and 60 Hz pacing.
#pragma once

#include <memory>
#include <string>

#include "Host.h"

namespace dx {

// Called by main at start: creates the SDL host for the program started as argv0. The window is
// fullscreen; with windowed, or the environment variable ZORVIK_WINDOWED=1, it is a 640 x 480
// window instead. Alt+Enter and F11 switch between the two. The program directory is where the
// game's data lies: beside the program, or ../share/zorvik from it when installed.
// Throws PlatformError when no window can be opened.
std::unique_ptr<Host> CreateSdlHost(const std::string& argv0, bool windowed = false);

// The DirectInput scan code of the key SDL names keyName (e.g. "Left", "Keypad Enter"), or -1.
int DikFromSdlKeyName(const char* keyName);

}  // namespace dx
