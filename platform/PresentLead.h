// SPDX-License-Identifier: GPL-3.0-or-later
// How long before its deadline a frame must start: the work and the hand-over of recent frames,
// plus a small margin. The SDL host ticks each frame that long before the deadline, so a key
// read at the tick reaches the screen as soon as the machine allows, and no sooner than the
// flips can stay evenly spaced.
#pragma once

#include <array>
#include <cstdint>

namespace dx {

class PresentLead {
  public:
    // Room left between the expected end of a frame's work and the start of its hand-over, for
    // the wake-up of the tick and small changes in the work.
    static constexpr int64_t kMarginUs = 300;
    // What is assumed until two frames have been measured: a lead of 5 ms in all.
    static constexpr int64_t kStartWorkUs = 2000;
    static constexpr int64_t kStartHandOverUs = 2700;
    // No frame starts more than one frame before its deadline: the frame before it is on
    // screen by then.
    static constexpr int64_t kMostUs = 1000000 / 60;

    // Called by the host after each hand-over: workUs from the frame's tick until its picture
    // was ready to be handed over (the game's own work), handOverUs the hand-over itself (until
    // the window system had the picture). A frame without a tick (a picture shown by a
    // keyboard read, or the first after a wait for a key) passes a negative workUs.
    void Record(int64_t workUs, int64_t handOverUs);
    // Microseconds from the tick to the deadline, when the picture is to be on screen.
    int64_t LeadUs() const;
    // Microseconds the hand-over is expected to take: it begins that long before the deadline.
    int64_t HandOverUs() const;

  private:
    // About a second of frames. Each estimate is the second-largest value among them, so one
    // stall (a level loading, the system swapping) does not hold the lead up for a second,
    // while work that grows for good raises it within two frames.
    static constexpr int kFrames = 60;
    struct Window {
        std::array<int64_t, kFrames> values{};
        int count = 0;
        int next = 0;
        void Add(int64_t value);
        int64_t SecondLargest(int64_t fallback) const;
    };
    Window work_;
    Window handOver_;
};

}  // namespace dx
