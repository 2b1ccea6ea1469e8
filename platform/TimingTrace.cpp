// SPDX-License-Identifier: GPL-3.0-or-later
// The timing trace of the real host.
#include "TimingTrace.h"

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace dx {

namespace {

long long NowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

long long ThreadCpuUs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<long long>(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}

}  // namespace

std::unique_ptr<TimingTrace> TimingTrace::FromEnvironment() {
    const char* path = std::getenv("ZORVIK_TRACE_TIMING");
    if (path == nullptr || *path == '\0') return nullptr;
    std::FILE* file = std::fopen(path, "w");
    if (file == nullptr) {
        std::fprintf(stderr, "ZORVIK_TRACE_TIMING: cannot write %s\n", path);
        return nullptr;
    }
    // A large buffer keeps the writes out of the frames; EndProgram flushes every stream.
    std::setvbuf(file, nullptr, _IOFBF, 1 << 20);
    return std::unique_ptr<TimingTrace>(new TimingTrace(file));
}

TimingTrace::~TimingTrace() {
    std::fclose(file_);
}

void TimingTrace::FlipAsked() {
    workUs_ = NowUs() - frameStartUs_;
    workCpuUs_ = ThreadCpuUs() - frameStartCpuUs_;
}

void TimingTrace::Flip(long lateUs, bool waited, long handOverUs, long leadUs) {
    std::fprintf(file_, "F %lld %ld %d %lld %lld %ld %ld\n", NowUs(), lateUs, waited ? 1 : 0,
                 workCpuUs_, workUs_, handOverUs, leadUs);
}

void TimingTrace::FrameStart() {
    frameStartUs_ = NowUs();
    frameStartCpuUs_ = ThreadCpuUs();
    std::fprintf(file_, "S %lld\n", frameStartUs_);
}

void TimingTrace::Key(int dik, bool down, long long ageUs) {
    std::fprintf(file_, "K %lld %d %d %lld\n", NowUs() - std::max(ageUs, 0LL), dik, down ? 1 : 0,
                 ageUs);
}

void TimingTrace::Read() {
    std::fprintf(file_, "R %lld\n", NowUs());
}

void TimingTrace::Wait() {
    std::fprintf(file_, "W %lld\n", NowUs());
    std::fflush(file_);  // a few times a game: lets a script see that the game waits for a key
}

long long TimingTrace::AgeOfMillisecondStamp(uint32_t stampMs, long long nowUs) {
    // Both in 32-bit milliseconds, so a clock that wrapped between the two still counts right.
    const auto ageMs = static_cast<int32_t>(static_cast<uint32_t>(nowUs / 1000) - stampMs);
    if (ageMs < -1 || ageMs > 2000) return -1;
    return std::max(nowUs - (nowUs / 1000 - ageMs) * 1000 - 500, 0LL);
}

}  // namespace dx
