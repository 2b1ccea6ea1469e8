// SPDX-License-Identifier: GPL-3.0-or-later
// Game pads through SDL_GameController, hot-plugged.
#include "SdlGamepad.h"

#include <algorithm>

namespace dx {

void SdlGamepads::Open() {
    if (up_) return;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return;
    up_ = true;
    // Pads present at start also arrive as SDL_CONTROLLERDEVICEADDED events, which open them.
}

void SdlGamepads::Close() {
    for (SDL_GameController* pad : pads_)
        SDL_GameControllerClose(pad);
    pads_.clear();
    if (up_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    up_ = false;
}

void SdlGamepads::HandleEvent(const SDL_Event& event) {
    if (!up_) return;
    if (event.type == SDL_CONTROLLERDEVICEADDED) {
        SDL_GameController* pad = SDL_GameControllerOpen(event.cdevice.which);
        if (pad != nullptr && std::find(pads_.begin(), pads_.end(), pad) == pads_.end()) {
            pads_.push_back(pad);
        }
    } else if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
        SDL_GameController* pad = SDL_GameControllerFromInstanceID(event.cdevice.which);
        const auto it = std::find(pads_.begin(), pads_.end(), pad);
        if (pad != nullptr && it != pads_.end()) {
            SDL_GameControllerClose(pad);
            pads_.erase(it);
        }
    }
}

PadState SdlGamepads::Read() const {
    PadState all;
    // Brings the pads' state up to date even where the event pump leaves joysticks alone.
    if (!pads_.empty()) SDL_GameControllerUpdate();
    for (SDL_GameController* pad : pads_) {
        const auto button = [pad](SDL_GameControllerButton b) {
            return SDL_GameControllerGetButton(pad, b) != 0;
        };
        PadState one;
        one.dpadUp = button(SDL_CONTROLLER_BUTTON_DPAD_UP);
        one.dpadDown = button(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
        one.dpadLeft = button(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
        one.dpadRight = button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
        one.leftX = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
        one.leftY = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
        one.a = button(SDL_CONTROLLER_BUTTON_A);
        one.b = button(SDL_CONTROLLER_BUTTON_B);
        one.x = button(SDL_CONTROLLER_BUTTON_X);
        one.y = button(SDL_CONTROLLER_BUTTON_Y);
        one.start = button(SDL_CONTROLLER_BUTTON_START);
        one.leftShoulder = button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
        one.rightShoulder = button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
        all |= one;
    }
    return all;
}

}  // namespace dx
