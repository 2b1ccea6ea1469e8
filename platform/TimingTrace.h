// An opt-in trace of the real host's timing: with the environment variable ZORVIK_TRACE_TIMING
// naming a file, every flip, key event and keyboard read is written there, one line each, for
// scripts/pacing.sh to measure frame pacing and input latency.
#pragma once

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

    // Lines: "F <time> <late> <waited> <cpu>" a flip, <late> microseconds after the deadline of
    // its frame (0 when on time), <waited> 1 when the game polled the keyboard without flipping
    // for longer than two frames before it (a screen waiting for a key: no frame was due), <cpu>
    // the microseconds of processor time the game's thread used since the last frame tick;
    // "S <time>" a frame tick (the wait for the deadline is over, the next frame begins);
    // "K <time> <dik> <1 down|0 up>" a key event taken from the window system; "R <time>" a
    // keyboard read; "W <time>" the start of such a wait. Times are microseconds of the
    // system's real-time clock, so the trace lines up with a script sending the keys.
    void Flip(long lateUs, bool waited);
    void FrameStart();
    void Key(int dik, bool down);
    void Read();
    void Wait();

  private:
    explicit TimingTrace(std::FILE* file) : file_(file) {}
    std::FILE* file_;
    long long frameStartCpuUs_ = 0;
};

}  // namespace dx
