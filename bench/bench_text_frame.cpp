// SPDX-License-Identifier: GPL-3.0-or-later
// Text frame: DrawFlyingText with ten glyphs in flight. A whole call on a long text is timed
// and divided by the frames it flipped, so the ramp-up and the last frames weigh little.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "A_deklarace.h"
#include "BenchSupport.h"
#include "GameHarness.h"
#include "J_PismoEfekt.h"

namespace {

using namespace zorvik;

// Long enough that all ten slots are in flight for nearly every frame of the call.
const std::string kText =
    "zTHE QUICK BROWN FOX JUMPS OVER THE LAZY DOG, c1234567890 AGAIN AND AGAIN! "
    "ZORVIK FLIES OVER THE HILLS. THE STONES ROLL DOWN? YES, THEY DO.";

double g_filled = 0;  // bytes a frame fills, from the last BM_TextFrame
double g_copied = 0;  // bytes a frame copies

void BM_TextFrame(benchmark::State& st) {
    test::GameHarness game;
    game.InitGame();
    game.SetFrameRateResults();
    // Thousands of calls pass far more virtual time than any test run does.
    game.Host().SetTimeLimitMs(1e12);
    textSkippable = 0;
    auto& platform = dx::detail::State();
    long frames = 0;
    const auto filled0 = platform.bytesFilled;
    const auto copied0 = platform.bytesCopied;
    for (auto _ : st) {
        const long before = game.Host().Frames();
        int16_t delay = 22;
        DrawFlyingText(20, 40, 600, 40, delay, kText);
        frames += game.Host().Frames() - before;
    }
    // The headless host copies every shown frame once more.
    g_filled = static_cast<double>(platform.bytesFilled - filled0) / static_cast<double>(frames);
    g_copied = static_cast<double>(platform.bytesCopied - copied0) / static_cast<double>(frames) +
               dx::kScreenWidth * dx::kScreenHeight * 2.0;
    const double bytes = g_filled + g_copied;
    // The time of one frame is the call's time divided by its frames.
    st.counters["frames_per_call"] =
        static_cast<double>(frames) / static_cast<double>(st.iterations());
    st.counters["MiB_per_frame"] = bytes / (1024.0 * 1024.0);
}
BENCHMARK(BM_TextFrame)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// A memset + memcpy of the bytes one text frame writes.
void BM_TextFloor(benchmark::State& st) {
    if (g_filled == 0) {
        g_filled = 640 * 480 * 2.0;
        g_copied = 2 * 640 * 480 * 2.0;
    }
    const auto filled = static_cast<size_t>(g_filled);
    const auto copied = static_cast<size_t>(g_copied);
    bench::RunMemoryFloor(st, filled, copied);
}
BENCHMARK(BM_TextFloor)->Unit(benchmark::kMillisecond)->MinTime(0.5);

}  // namespace

int main(int argc, char** argv) {
    const auto results = bench::RunAll(argc, argv);
    const auto call = results.Get("BM_TextFrame");
    const double frames =
        call.counters.count("frames_per_call") != 0 ? call.counters.at("frames_per_call") : 0;
    if (frames > 0) {
        const double ms = call.ms / frames;
        const double floor = results.Get("BM_TextFloor").ms;
        std::printf("text frame: %.3f ms (a call of %.0f frames takes %.2f ms), floor %.3f ms\n",
                    ms, frames, call.ms, floor);
        bench::Summary("text frame (10 glyphs)", ms, "ms", floor > 0 ? ms / floor : -1,
                       "<= 0.3 ms");
    }
    return 0;
}
