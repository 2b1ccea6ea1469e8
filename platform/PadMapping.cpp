// SPDX-License-Identifier: GPL-3.0-or-later
// The pad-to-keyboard table and the menu/level guess.
#include "PadMapping.h"
#include "DikCodes.h"

#include <cstdlib>

namespace dx {

namespace {

using namespace dx::keys;

// About half the stick's travel: a resting or worn stick never walks the bottle.
constexpr int kStickDeadZone = 16000;

}  // namespace

PadState& PadState::operator|=(const PadState& other) {
    dpadUp |= other.dpadUp;
    dpadDown |= other.dpadDown;
    dpadLeft |= other.dpadLeft;
    dpadRight |= other.dpadRight;
    if (std::abs(other.leftX) > std::abs(leftX)) leftX = other.leftX;
    if (std::abs(other.leftY) > std::abs(leftY)) leftY = other.leftY;
    a |= other.a;
    b |= other.b;
    x |= other.x;
    y |= other.y;
    start |= other.start;
    leftShoulder |= other.leftShoulder;
    rightShoulder |= other.rightShoulder;
    return *this;
}

void AddPadKeys(const PadState& pad, PadMode mode, uint8_t keys[256]) {
    const auto press = [keys](int dik) { keys[dik] = 0x80; };
    if (pad.dpadLeft || pad.leftX <= -kStickDeadZone) press(kDikLeft);
    if (pad.dpadRight || pad.leftX >= kStickDeadZone) press(kDikRight);
    if (pad.dpadUp || pad.leftY <= -kStickDeadZone) press(kDikUp);
    if (pad.dpadDown || pad.leftY >= kStickDeadZone) press(kDikDown);
    if (pad.a) {
        if (mode == PadMode::Level) {
            press(kDikUp);
        } else {
            press(kDikEnter);
            press(kDikSpace);
        }
    }
    if (pad.x) press(kDikLeftShift);
    if (pad.b || pad.leftShoulder || pad.rightShoulder) press(kDikLeftCtrl);
    if (pad.start) press(kDikEscape);
}

PadMode PadModeTracker::OnKeyboardRead(int readsSinceFlip) {
    if (readsSinceFlip > 1) {
        mode_ = PadMode::Menu;
        singleReadFrames_ = 0;
    } else if (singleReadFrames_ < kLevelFrames) {
        ++singleReadFrames_;
        if (singleReadFrames_ == kLevelFrames) mode_ = PadMode::Level;
    }
    return mode_;
}

}  // namespace dx
