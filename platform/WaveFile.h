// SPDX-License-Identifier: GPL-3.0-or-later
// Reading PCM WAV files into 8-bit unsigned mono samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace dx {

struct WaveData {
    int32_t sampleRate = 0;
    std::vector<uint8_t> samples;  // 8-bit unsigned mono
};

// Decodes a RIFF/WAVE PCM file held in memory (8 or 16 bits, mono or stereo; converted to 8-bit
// mono). Throws PlatformError with `name` in the message when the data is not readable.
WaveData DecodeWav(const uint8_t* data, size_t size, const std::string& name);
// Reads a WAV file and decodes it; throws PlatformError naming the file.
WaveData LoadWav(const std::string& path);

}  // namespace dx
