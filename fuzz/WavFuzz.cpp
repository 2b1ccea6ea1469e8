// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the WAV decoder. Anything but a PlatformError for an unreadable file is a
// finding, and so is a decoded sound without a usable rate.
#include <cstdlib>

#include "DirectX.h"
#include "WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        const dx::WaveData wave = dx::DecodeWav(data, size, "fuzz.wav");
        if (wave.sampleRate <= 0) std::abort();
    } catch (const dx::PlatformError&) {
    }
    return 0;
}
