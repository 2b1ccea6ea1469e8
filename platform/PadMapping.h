// SPDX-License-Identifier: GPL-3.0-or-later
// How a game pad drives the keyboard state the game reads: a pure table from buttons and stick
// to DirectInput scan codes, and the guess whether a level is being played (A jumps) or a menu
// or text screen waits for a key (A confirms). No SDL here, so tests need no device.
#pragma once

#include <cstdint>

namespace dx {

// What one or more pads hold down right now. Stick axes run from -32768 to 32767.
struct PadState {
    bool dpadUp = false, dpadDown = false, dpadLeft = false, dpadRight = false;
    int leftX = 0, leftY = 0;
    bool a = false, b = false, x = false, y = false;
    bool start = false, leftShoulder = false, rightShoulder = false;

    // The union of two pads' buttons; the stick of the one pushed further counts.
    PadState& operator|=(const PadState& other);
};

enum class PadMode {
    Menu,   // a menu or text screen polls the keyboard: A is Enter and Space
    Level,  // the level loop reads once per frame: A is Up (jump)
};

// Sets (0x80) the scan codes the pad holds down; keys already down stay down.
void AddPadKeys(const PadState& pad, PadMode mode, uint8_t keys[256]);

// Tells the modes apart by how the game reads the keyboard: a level reads exactly once per
// flip, every menu and text screen polls many times between flips. After a poll the pad is in
// menu mode until half a second of once-per-frame reads has passed; the level's key delay after
// every level start and death is longer than that.
class PadModeTracker {
  public:
    static constexpr int kLevelFrames = 30;
    // Called on every keyboard read with the reads since the last flip (1 for the first).
    PadMode OnKeyboardRead(int readsSinceFlip);
    PadMode Mode() const { return mode_; }

  private:
    PadMode mode_ = PadMode::Menu;
    int singleReadFrames_ = 0;
};

}  // namespace dx
