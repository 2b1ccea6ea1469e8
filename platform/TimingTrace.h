// SPDX-License-Identifier: GPL-3.0-or-later
// An opt-in trace of the real host's timing: with the environment variable ZORVIK_TRACE_TIMING
// naming a file, every flip, key event and keyboard read is written there, one line each, for
// scripts/pacing.sh to measure frame pacing and input latency.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>

namespace dx {

class TimingTrace {
  public:
    // The trace the environment asks for, or nullptr when ZORVIK_TRACE_TIMING is unset or empty
    // (or the file cannot be made; a note then goes to standard error).
    static std::unique_ptr<TimingTrace> FromEnvironment();
    ~TimingTrace();
    TimingTrace(const TimingTrace&) = delete;
    TimingTrace& operator=(const TimingTrace&) = delete;

    // Lines: "F <time> <late> <waited> <cpu> <work> <hand-over> <lead>" a flip (the time the
    // picture has been handed to the window system), <late> microseconds after the deadline of
    // its frame that the hand-over ended (0 when on time), <waited> 1 when the game polled the
    // keyboard past its frame's due time before it (a screen waiting for a key: no frame was
    // due), <cpu> and <work> the microseconds of processor time of the game's thread and of real
    // time from the frame's tick until the game asked for the flip, <hand-over> the microseconds
    // the hand-over took and <lead> those from the frame's tick to its deadline (0 when the
    // frame started a new clock);
    // "S <time>" a frame tick (the frame begins, a little before its deadline);
    // "K <time> <dik> <1 down|0 up> <age>" a key event when it arrived: by the window system's
    // own stamp, <age> microseconds before the host took it (X11); or, where there is no such
    // stamp (<age> -1), when the host took it, which it does while it waits, so give or take the
    // last two milliseconds of a wait and the time the game was busy; "R <time>" a keyboard
    // read; "W <time>" the start of such a wait (written to the file at once, so a script can
    // tell when the game waits for a key). Times are microseconds of the system's real-time
    // clock, so the trace lines up with a script sending the keys.
    void FlipAsked();
    void Flip(long lateUs, bool waited, long handOverUs, long leadUs);
    void FrameStart();
    void Key(int dik, bool down, long long ageUs);

    // How many microseconds before nowUs a stamp in 32-bit milliseconds of the same clock was
    // made (as the X server stamps input events), or -1 when it cannot be of this clock (more
    // than two seconds old, or in the future). The stamp drops the fraction of its millisecond,
    // so the event came half a millisecond after it on average.
    static long long AgeOfMillisecondStamp(uint32_t stampMs, long long nowUs);
    void Read();
    void Wait();

  private:
    explicit TimingTrace(std::FILE* file) : file_(file) {}
    std::FILE* file_;
    long long frameStartUs_ = 0;
    long long frameStartCpuUs_ = 0;
    long long workUs_ = 0;
    long long workCpuUs_ = 0;
};

}  // namespace dx
