// SPDX-License-Identifier: GPL-3.0-or-later
// Watching a replay in the game's window.
#include "ReplayCommand.h"

#include <cstdlib>
#include <exception>

#include "A_deklarace.h"
#include "C_mainloop.h"
#include "LevelPlay.h"
#include "PlayHost.h"
#include "Z_Exit.h"

namespace zorvik {

namespace {

// Thrown when the window is closed while the replay plays.
struct ReplayClosed {};

// Frames the replay runs on after its keys have ended, for a last fall or walk to the exit.
constexpr long kGraceFrames = 180;

}  // namespace

ReplayHost::ReplayHost(dx::Host& window, const Replay& replay)
    : window_(window), schedule_(replay) {}

void ReplayHost::WaitForFrame() {
    window_.WaitForFrame();
    ++frames_;
}

uint32_t ReplayHost::NowMs() {
    return VirtualClockMs(frames_);
}

void ReplayHost::ReadKeyboard(uint8_t keys[256], int readsSinceFlip) {
    window_.ReadKeyboard(keys, readsSinceFlip);  // keeps the window responsive
    WriteReplayKeys(schedule_.OnRead(lastStepTime), keys);
}

void ReplayHost::EndProgram(int status) {
    window_.EndProgram(status);
    std::abort();  // unreachable: a host's EndProgram exits or throws
}

int RunReplay(dx::Host& window, const Replay& replay, std::FILE* out) {
    ReplayHost host(window, replay);
    dx::SetHost(&host);
    window.onQuitRequest = [] { throw ReplayClosed{}; };
    bool reached = false;
    long frames = 0;
    try {
        StartTestLevelOnSteadyClock();
        host.StartSchedule(lastStepTime);
        const long start = host.Frames();
        long after = 0;  // frames since the replay's keys ended
        while (levelWon == 0 && levelLeft == 0 && gameLost == 0 && after < kGraceFrames) {
            RunLevelFrame();
            if (host.Schedule().Finished()) ++after;
        }
        reached = levelWon != 0 || levelLeft != 0;
        frames = host.Frames() - start;
    } catch (const ReplayClosed&) {
    }
    if (reached) {
        std::fprintf(out, "replay: exit reached after %ld frames\n", frames);
    } else {
        std::fprintf(out, "replay: ended without reaching the exit\n");
    }
    std::fflush(out);
    window.onQuitRequest = nullptr;
    RestoreDesktop();
    dx::SetHost(&window);
    return reached ? 0 : 1;
}

}  // namespace zorvik
