// SPDX-License-Identifier: GPL-3.0-or-later
// `zorvik --level PATH --replay FILE`: the game plays a replay's keys on the level, in a window
// as usual but on the fixed 60 Hz step of the prover and the tests, so the run is exactly the
// one the prover found.
#pragma once

#include <cstdio>

#include "Host.h"
#include "Replay.h"

namespace zorvik {

// A host that shows and paces through `window` but keeps the game's clock at exactly 1000/60
// ms a flip and holds the replay's keys instead of the keyboard's. The window's own keys are
// read (so it stays responsive) and dropped, and losing the focus does not pause the game.
class ReplayHost : public dx::Host {
  public:
    ReplayHost(dx::Host& window, const Replay& replay);

    long Frames() const { return frames_; }
    const ReplaySchedule& Schedule() const { return schedule_; }
    void StartSchedule(int32_t stepTime) { schedule_.Start(stepTime); }

    void Present(const uint16_t* pixels) override { window_.Present(pixels); }
    void WaitForFrame() override;
    uint32_t NowMs() override;
    void PumpEvents() override { window_.PumpEvents(); }
    void ReadKeyboard(uint8_t keys[256], int readsSinceFlip) override;
    void ShowMessage(const std::string& text) override { window_.ShowMessage(text); }
    void ShowCursor(bool show) override { window_.ShowCursor(show); }
    void SetDisplayMode(int w, int h) override { window_.SetDisplayMode(w, h); }
    void RestoreDisplayMode() override { window_.RestoreDisplayMode(); }
    [[noreturn]] void EndProgram(int status) override;
    double Random() override { return window_.Random(); }
    std::string ProgramDirectory() override { return window_.ProgramDirectory(); }
    dx::Mixer& GetMixer() override { return window_.GetMixer(); }

  private:
    dx::Host& window_;
    ReplaySchedule schedule_;
    long frames_ = 0;
};

// Called by main for --replay after the level's set was opened: installs a ReplayHost over
// `window`, starts the level without its card, plays the replay (then up to three seconds more
// with no keys) and prints "replay: exit reached after N frames" or "replay: ended without
// reaching the exit" on `out`. Returns 0 only when the level was left through its exit or goal.
int RunReplay(dx::Host& window, const Replay& replay, std::FILE* out);

}  // namespace zorvik
