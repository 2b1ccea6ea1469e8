// SPDX-License-Identifier: GPL-3.0-or-later
// A game pad made in software (SDL's virtual joystick) and plugged into the running SDL host,
// so tests can drive the host's pad mapping with no device attached; and key events put into
// SDL's queue as the window system would deliver them.
#pragma once

namespace dx {

class VirtualPad {
  public:
    enum class Button { A, B, X, Y, Start, LeftShoulder, RightShoulder, Up, Down, Left, Right };

    // Plugs the pad in (the SDL host must be running); throws PlatformError when SDL cannot.
    VirtualPad();
    // Pulls it out again.
    ~VirtualPad();
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    void Press(Button button, bool down);
    // The left stick, each axis from -32768 to 32767.
    void MoveLeftStick(int x, int y);

  private:
    int index_ = -1;
    void* joystick_ = nullptr;
};

// Queues a press or release of the key SDL names keyName (e.g. "Right"), as if it came from the
// window system; callable from any thread while the SDL host runs. SDL's own keyboard state does
// not change, so keyboard reads do not see it: it shows only in the host's timing trace.
void PushKeyEvent(const char* keyName, bool down);

}  // namespace dx
