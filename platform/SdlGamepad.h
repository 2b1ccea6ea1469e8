// SPDX-License-Identifier: GPL-3.0-or-later
// The game pads seen through SDL's game-controller interface: opened when plugged in, closed
// when pulled out, read into one PadState. Used only by the SDL host.
#pragma once

#include <SDL.h>

#include <vector>

#include "PadMapping.h"

namespace dx {

class SdlGamepads {
  public:
    SdlGamepads() = default;
    ~SdlGamepads() { Close(); }
    SdlGamepads(const SdlGamepads&) = delete;
    SdlGamepads& operator=(const SdlGamepads&) = delete;

    // Starts SDL's game-controller subsystem and opens the pads already plugged in. Without the
    // subsystem the game simply has no pads.
    void Open();
    // Closes every pad and the subsystem; called before SDL_Quit.
    void Close();
    // Opens or closes a pad on SDL's device events; other events are ignored.
    void HandleEvent(const SDL_Event& event);
    // What all open pads hold down together.
    PadState Read() const;

  private:
    bool up_ = false;
    std::vector<SDL_GameController*> pads_;
};

}  // namespace dx
