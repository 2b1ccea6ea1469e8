// SPDX-License-Identifier: GPL-3.0-or-later
// The RIFF/WAVE reader behind CreateSoundBufferFromFile: PCM 8 or 16 bits, mono or stereo,
// converted to the 8-bit unsigned mono samples the mixer plays. Every read is bounds-checked.
#include "WaveFile.h"

#include <cstring>

#include "DirectX.h"
#include "RegularFile.h"

namespace dx {

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;

[[noreturn]] void Fail(const std::string& name, const std::string& why) {
    throw PlatformError("Cannot read sound file '" + name + "': " + why);
}

uint16_t Read16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t Read32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

bool IdIs(const uint8_t* p, const char* id) {
    return std::memcmp(p, id, 4) == 0;
}

struct Format {
    uint16_t channels = 0;
    uint32_t sampleRate = 0;
    uint16_t bits = 0;
};

Format ReadFormat(const uint8_t* p, size_t size, const std::string& name) {
    if (size < 16) Fail(name, "the format chunk is too short");
    uint16_t tag = Read16(p);
    // WAVE_FORMAT_EXTENSIBLE carries the real format tag in its sub-format GUID.
    if (tag == kFormatExtensible && size >= 26) tag = Read16(p + 24);
    if (tag != kFormatPcm) Fail(name, "not PCM (format tag " + std::to_string(tag) + ")");
    Format f;
    f.channels = Read16(p + 2);
    f.sampleRate = Read32(p + 4);
    f.bits = Read16(p + 14);
    if (f.channels != 1 && f.channels != 2) {
        Fail(name, std::to_string(f.channels) + " channels (1 or 2 supported)");
    }
    if (f.bits != 8 && f.bits != 16) {
        Fail(name, std::to_string(f.bits) + " bits per sample (8 or 16 supported)");
    }
    if (f.sampleRate == 0 || f.sampleRate > 1000000) {
        Fail(name, "sample rate " + std::to_string(f.sampleRate) + " is out of range");
    }
    return f;
}

// One sample of one channel as a signed value in the 16-bit range.
int ChannelValue(const uint8_t* p, uint16_t bits) {
    if (bits == 8) return (static_cast<int>(p[0]) - 128) * 256;
    return static_cast<int16_t>(Read16(p));
}

}  // namespace

WaveData DecodeWav(const uint8_t* data, size_t size, const std::string& name) {
    if (data == nullptr || size < 12 || !IdIs(data, "RIFF") || !IdIs(data + 8, "WAVE")) {
        Fail(name, "not a RIFF/WAVE file");
    }
    Format format;
    bool haveFormat = false;
    const uint8_t* pcm = nullptr;
    size_t pcmSize = 0;
    // The RIFF size field is often wrong in the wild; the chunks are walked up to the real end.
    size_t pos = 12;
    while (size - pos >= 8) {
        const uint8_t* chunk = data + pos;
        const size_t chunkSize = Read32(chunk + 4);
        const size_t available = size - pos - 8;
        if (IdIs(chunk, "fmt ")) {
            if (chunkSize > available) Fail(name, "the format chunk is truncated");
            format = ReadFormat(chunk + 8, chunkSize, name);
            haveFormat = true;
        } else if (IdIs(chunk, "data")) {
            // A data chunk longer than the file (a cut-off download, a streamed recording)
            // keeps the samples that are there.
            pcm = chunk + 8;
            pcmSize = chunkSize < available ? chunkSize : available;
            break;
        }
        if (chunkSize >= available) break;
        pos += 8 + chunkSize + (chunkSize & 1);  // chunks are padded to an even length
    }
    if (!haveFormat) Fail(name, "no format chunk before the samples");
    if (pcm == nullptr) Fail(name, "no data chunk");

    const size_t bytesPerSample = format.bits / 8u;
    const size_t frameSize = bytesPerSample * format.channels;
    const size_t frames = pcmSize / frameSize;  // a partial last frame is dropped
    WaveData wave;
    wave.sampleRate = static_cast<int32_t>(format.sampleRate);
    wave.samples.resize(frames);
    for (size_t i = 0; i < frames; ++i) {
        const uint8_t* frame = pcm + i * frameSize;
        int sum = 0;
        for (size_t c = 0; c < format.channels; ++c) {
            sum += ChannelValue(frame + c * bytesPerSample, format.bits);
        }
        const int mono = sum / format.channels;                     // -32768 .. 32767
        wave.samples[i] = static_cast<uint8_t>((mono >> 8) + 128);  // arithmetic: floor
    }
    return wave;
}

WaveData LoadWav(const std::string& path) {
    namespace files = zorvik::files;
    const files::ReadResult file = files::ReadRegularFile(path, files::kMaxSoundBytes);
    if (!file.ok()) {
        throw PlatformError("Cannot read sound file '" + path +
                            "': " + files::ReadErrorText(file.error));
    }
    return DecodeWav(reinterpret_cast<const uint8_t*>(file.bytes.data()), file.bytes.size(), path);
}

}  // namespace dx
