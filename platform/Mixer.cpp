// SPDX-License-Identifier: GPL-3.0-or-later
// The software mixer behind every sound buffer: nearest-sample resampling at each buffer's own
// rate, DirectSound's logarithmic volume, and a clamped sum into mono 16-bit output.
#include "Mixer.h"

#include <algorithm>
#include <cmath>

#include "DirectX.h"

namespace dx {

Mixer::Mixer(int outputRate) : outputRate_(outputRate > 0 ? outputRate : 44100) {}

Mixer::~Mixer() {
    std::lock_guard<std::mutex> lock(mutex_);
    for (DirectSoundBuffer* buffer : buffers_)
        buffer->mixer_ = nullptr;
}

void Mixer::Add(DirectSoundBuffer* buffer) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (std::find(buffers_.begin(), buffers_.end(), buffer) == buffers_.end()) {
        buffers_.push_back(buffer);
    }
}

void Mixer::Remove(DirectSoundBuffer* buffer) {
    std::lock_guard<std::mutex> lock(mutex_);
    buffers_.erase(std::remove(buffers_.begin(), buffers_.end(), buffer), buffers_.end());
}

double Mixer::GainOf(int32_t hundredthsOfDb) {
    const int32_t v = std::clamp<int32_t>(hundredthsOfDb, -10000, 0);
    return std::pow(10.0, v / 2000.0);
}

void Mixer::Render(int16_t* out, int count) {
    if (count <= 0) return;
    std::vector<double> sum(static_cast<size_t>(count), 0.0);
    std::lock_guard<std::mutex> lock(mutex_);
    for (DirectSoundBuffer* b : buffers_) {
        const std::vector<uint8_t>& samples = b->samples_;
        const double length = static_cast<double>(samples.size());
        if (!b->playing_) continue;
        if (samples.empty()) {
            b->playing_ = false;
            b->position_ = 0.0;
            continue;
        }
        const double step = static_cast<double>(b->frequency_) / outputRate_;
        const double gain = GainOf(b->volume_);
        for (int i = 0; i < count; ++i) {
            // position_ < length holds here (it is wrapped or rewound as soon as it passes);
            // the clamp only guards the read.
            const auto index = std::min(static_cast<size_t>(b->position_), samples.size() - 1);
            const int value = (static_cast<int>(samples[index]) - 128) * 256;
            sum[static_cast<size_t>(i)] += value * gain;
            b->position_ += step;
            if (b->position_ >= length) {
                if (b->looping_) {
                    // Keep the fractional part so the loop point adds no gap or click.
                    b->position_ = std::fmod(b->position_, length);
                } else {
                    b->playing_ = false;
                    b->position_ = 0.0;
                    break;
                }
            }
        }
    }
    for (int i = 0; i < count; ++i) {
        const double v = std::clamp(std::round(sum[static_cast<size_t>(i)]), -32768.0, 32767.0);
        out[i] = static_cast<int16_t>(v);
    }
}

}  // namespace dx
