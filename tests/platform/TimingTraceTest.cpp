// SPDX-License-Identifier: GPL-3.0-or-later
// The timing trace's reading of the window system's millisecond stamps on key events.
#include <gtest/gtest.h>

#include <cstdint>

#include "TimingTrace.h"

namespace dx {
namespace {

TEST(TimingTrace, AgesAMillisecondStampAcrossTheWrapAndRefusesAnotherClock) {
    const long long nowUs = 10'500'300;  // 10 500 ms and 300 us
    // Stamped 5 whole milliseconds earlier: the event came about 10 495.5 ms in.
    EXPECT_EQ(TimingTrace::AgeOfMillisecondStamp(10'495, nowUs), 4'800);
    EXPECT_EQ(TimingTrace::AgeOfMillisecondStamp(10'500, nowUs), 0) << "within the millisecond";
    EXPECT_EQ(TimingTrace::AgeOfMillisecondStamp(10'501, nowUs), 0) << "a clock a tick ahead";

    // The server's 32-bit milliseconds wrap after 49.7 days; the host's clock does not.
    const long long afterWrapUs = ((1LL << 32) + 3) * 1000 + 200;
    EXPECT_EQ(TimingTrace::AgeOfMillisecondStamp(0xFFFF'FFFEu, afterWrapUs), 4'700);

    // A server on another machine, or not a millisecond clock at all.
    EXPECT_EQ(TimingTrace::AgeOfMillisecondStamp(10'500 - 100'000, nowUs), -1);
    EXPECT_EQ(TimingTrace::AgeOfMillisecondStamp(10'500 + 50, nowUs), -1);
}

}  // namespace
}  // namespace dx
