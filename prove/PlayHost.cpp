// SPDX-License-Identifier: GPL-3.0-or-later
// The prover's host: virtual clock, held keys, nothing shown or heard.
#include "PlayHost.h"

#include <cstring>

#include "DikCodes.h"
#include "Replay.h"

namespace zorvik {

PlayHost::PlayHost(std::string programDirectory) : programDirectory_(std::move(programDirectory)) {}

uint32_t PlayHost::NowMs() {
    return VirtualClockMs(frames_);
}

void PlayHost::ReadKeyboard(uint8_t keys[256], int /*readsSinceFlip*/) {
    // Only the keys a replay holds ever change, so the array is cleared once and then only they
    // are written: the search reads the keyboard millions of times.
    if (keys != clearedKeys_) {
        std::memset(keys, 0, 256);
        clearedKeys_ = keys;
    }
    WriteHeldKeys(keys_, keys);
}

void PlayHost::EndProgram(int status) {
    throw dx::ProgramEnded{status};
}

double PlayHost::Random() {
    return std::uniform_real_distribution<double>(0.0, 1.0)(rng_);
}

void WriteReplayKeys(uint8_t keys, uint8_t state[256]) {
    std::memset(state, 0, 256);
    WriteHeldKeys(keys, state);
}

void WriteHeldKeys(uint8_t keys, uint8_t state[256]) {
    using namespace dx::keys;
    const auto put = [state](int dik, bool down) { state[dik] = down ? 0x80 : 0; };
    put(kDikLeft, (keys & kKeyLeft) != 0);
    put(kDikRight, (keys & kKeyRight) != 0);
    put(kDikUp, (keys & kKeyUp) != 0);
    put(kDikLeftCtrl, (keys & kKeyCtrl) != 0);
    put(kDikLeftShift, (keys & kKeyShift) != 0);
    put(kDikSpace, true);
}

}  // namespace zorvik
