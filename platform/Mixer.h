// SPDX-License-Identifier: GPL-3.0-or-later
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
    // Buffers that outlive the mixer stay usable; they are simply no longer mixed.
    ~Mixer();
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;

    int OutputRate() const { return outputRate_; }
    // Buffers register themselves when created and leave when destroyed.
    void Add(DirectSoundBuffer* buffer);
    void Remove(DirectSoundBuffer* buffer);
    // Called by the audio callback (and tests): renders `count` mono 16-bit samples, advancing
    // every playing buffer; a one-shot buffer that reaches its end stops and rewinds.
    void Render(int16_t* out, int count);
    // Guards buffer state shared with the audio thread.
    std::mutex& Lock() { return mutex_; }

    // Linear gain of a volume in hundredths of a decibel (0 .. -10000).
    static double GainOf(int32_t hundredthsOfDb);

  private:
    int outputRate_;
    std::mutex mutex_;
    std::vector<DirectSoundBuffer*> buffers_;
};

}  // namespace dx
