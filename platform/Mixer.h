// Sums the playing sound buffers into 16-bit output, as a DirectSound mixer would: each buffer at
// its own rate (frequency / output rate), gain 10^(volume / 2000), looping or once.
#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

namespace dx {

class DirectSoundBuffer;

class Mixer {
public:
    explicit Mixer(int outputRate = 44100);
    int OutputRate() const { return outputRate_; }
    // Buffers register themselves when created and leave when destroyed.
    void Add(DirectSoundBuffer* buffer);
    void Remove(DirectSoundBuffer* buffer);
    // Renders mono 16-bit samples, advancing every playing buffer.
    void Render(int16_t* out, int count);
    // Guards buffer state shared with the audio thread.
    std::mutex& Lock() { return mutex_; }

private:
    int outputRate_;
    std::mutex mutex_;
    std::vector<DirectSoundBuffer*> buffers_;
};

}  // namespace dx
