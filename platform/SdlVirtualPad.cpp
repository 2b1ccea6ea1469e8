// SPDX-License-Identifier: GPL-3.0-or-later
// SDL's virtual joystick in the game-controller layout.
#include "SdlVirtualPad.h"

#include <SDL.h>

#include <string>

#include "DirectX.h"

namespace dx {

namespace {

SDL_GameControllerButton SdlButton(VirtualPad::Button button) {
    switch (button) {
        case VirtualPad::Button::A:
            return SDL_CONTROLLER_BUTTON_A;
        case VirtualPad::Button::B:
            return SDL_CONTROLLER_BUTTON_B;
        case VirtualPad::Button::X:
            return SDL_CONTROLLER_BUTTON_X;
        case VirtualPad::Button::Y:
            return SDL_CONTROLLER_BUTTON_Y;
        case VirtualPad::Button::Start:
            return SDL_CONTROLLER_BUTTON_START;
        case VirtualPad::Button::LeftShoulder:
            return SDL_CONTROLLER_BUTTON_LEFTSHOULDER;
        case VirtualPad::Button::RightShoulder:
            return SDL_CONTROLLER_BUTTON_RIGHTSHOULDER;
        case VirtualPad::Button::Up:
            return SDL_CONTROLLER_BUTTON_DPAD_UP;
        case VirtualPad::Button::Down:
            return SDL_CONTROLLER_BUTTON_DPAD_DOWN;
        case VirtualPad::Button::Left:
            return SDL_CONTROLLER_BUTTON_DPAD_LEFT;
        case VirtualPad::Button::Right:
            return SDL_CONTROLLER_BUTTON_DPAD_RIGHT;
    }
    return SDL_CONTROLLER_BUTTON_INVALID;
}

}  // namespace

VirtualPad::VirtualPad() {
    index_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                       SDL_CONTROLLER_BUTTON_MAX, 0);
    if (index_ >= 0) joystick_ = SDL_JoystickOpen(index_);
    if (joystick_ == nullptr) {
        const std::string error = SDL_GetError();
        if (index_ >= 0) SDL_JoystickDetachVirtual(index_);
        throw PlatformError("virtual pad: " + error);
    }
}

VirtualPad::~VirtualPad() {
    SDL_JoystickClose(static_cast<SDL_Joystick*>(joystick_));
    SDL_JoystickDetachVirtual(index_);
}

void VirtualPad::Press(Button button, bool down) {
    SDL_JoystickSetVirtualButton(static_cast<SDL_Joystick*>(joystick_), SdlButton(button),
                                 down ? 1 : 0);
}

void VirtualPad::MoveLeftStick(int x, int y) {
    auto* joystick = static_cast<SDL_Joystick*>(joystick_);
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
}

void PushKeyEvent(const char* keyName, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = SDL_GetScancodeFromName(keyName);
    event.key.keysym.sym = SDL_GetKeyFromScancode(event.key.keysym.scancode);
    if (SDL_PushEvent(&event) < 0)
        throw PlatformError(std::string("SDL_PushEvent: ") + SDL_GetError());
}

}  // namespace dx
