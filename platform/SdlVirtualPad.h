// A game pad made in software (SDL's virtual joystick) and plugged into the running SDL host,
// so tests can drive the host's pad mapping with no device attached.
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

}  // namespace dx
