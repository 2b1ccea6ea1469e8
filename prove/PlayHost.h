// SPDX-License-Identifier: GPL-3.0-or-later
// The host the prover and the replay checks play on: no window and no sound device, a virtual
// 60 Hz clock that counts flips, and the movement keys the player holds. It is as small as a
// host can be, because the search runs millions of frames on it.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "Host.h"
#include "Mixer.h"

namespace zorvik {

class PlayHost : public dx::Host {
  public:
    explicit PlayHost(std::string programDirectory);

    // Flips so far; the clock reads flips x 1000 / 60 milliseconds, rounded down.
    long Frames() const { return frames_; }
    void SetFrames(long frames) { frames_ = frames; }
    // The movement keys (ReplayKey bits) held from now on.
    void Hold(uint8_t keys) { keys_ = keys; }
    // Message boxes shown so far (a level that shows one has a fault).
    const std::vector<std::string>& Messages() const { return messages_; }

    void Present(const uint16_t*) override {}
    void WaitForFrame() override { ++frames_; }
    uint32_t NowMs() override;
    void PumpEvents() override {}
    void ReadKeyboard(uint8_t keys[256], int readsSinceFlip) override;
    void ShowMessage(const std::string& text) override { messages_.push_back(text); }
    void ShowCursor(bool) override {}
    void SetDisplayMode(int, int) override {}
    void RestoreDisplayMode() override {}
    [[noreturn]] void EndProgram(int status) override;
    double Random() override;
    std::string ProgramDirectory() override { return programDirectory_; }
    dx::Mixer& GetMixer() override { return mixer_; }

  private:
    std::string programDirectory_;
    long frames_ = 0;
    uint8_t keys_ = 0;
    const uint8_t* clearedKeys_ = nullptr;  // the key array cleared once already
    std::vector<std::string> messages_;
    std::mt19937 rng_{12345};
    dx::Mixer mixer_;  // never rendered: nothing is heard
};

// The DirectInput scan codes of a set of ReplayKey bits, written into a keyboard state (0x80 for
// a held key); Space is always held, so an intro card or a "press Space" wait goes on.
void WriteReplayKeys(uint8_t keys, uint8_t state[256]);
// The same for the keys a replay can hold and Space only, leaving every other key as it is.
void WriteHeldKeys(uint8_t keys, uint8_t state[256]);

// The milliseconds of a virtual 60 Hz clock after `frames` flips, rounded down.
inline uint32_t VirtualClockMs(long frames) {
    return static_cast<uint32_t>(static_cast<uint64_t>(frames) * 1000 / 60);
}

}  // namespace zorvik
