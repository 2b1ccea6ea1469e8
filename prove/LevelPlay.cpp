// SPDX-License-Identifier: GPL-3.0-or-later
// A level on the prover's host: fresh starts, frames with held keys, step counting, snapshots.
#include "LevelPlay.h"

#include <stdexcept>

#include "B_inicializuj.h"
#include "C_mainloop.h"
#include "E_load.h"
#include "M_Test_FPS.h"

namespace zorvik {

void StartTestLevelOnSteadyClock() {
    testLevelNoCard = true;
    InitDirectX();
    if (StartupFailed()) throw std::runtime_error("the game's start-up failed");
    ApplyFrameRate(60);
    LoadLevel();
}

LevelPlay::LevelPlay(const std::string& tilePath)
    : tilePath_(tilePath), host_(dx::HasHost() ? dx::ProgramDirectory() : ".") {
    dx::SetHost(&host_);
    dx::SetDryRun(true);
    ResetGlobals();
    const std::string problem = OpenTestLevelSet(tilePath_);
    if (!problem.empty()) {
        dx::SetDryRun(false);
        dx::SetHost(nullptr);
        throw std::runtime_error(problem);
    }
}

LevelPlay::~LevelPlay() {
    ResetGlobals();
    dx::SetDryRun(false);
    dx::SetHost(nullptr);
}

void LevelPlay::Reinstall() {
    dx::SetHost(&host_);
    dx::SetDryRun(true);
}

void LevelPlay::Start() {
    // As a new program: the globals at their start values, then test-play's start-up.
    ResetGlobals();
    host_.SetFrames(0);
    host_.Hold(0);
    const std::string problem = OpenTestLevelSet(tilePath_);
    if (!problem.empty()) throw std::runtime_error(problem);
    StartTestLevelOnSteadyClock();
    lives_ = lives;
    steps_ = 0;
    seenStepTime_ = lastStepTime;
    deathFrame_ = deathStep_ = -1;
    visited_.fill(false);
}

void LevelPlay::Frame(uint8_t keys, PlayEvents& events) {
    host_.Hold(keys);
    RunLevelFrame();
    ++framesPlayed_;
    if (lives < lives_) {
        if (deathFrame_ < 0) {
            deathFrame_ = host_.Frames();
            deathStep_ = steps_;
        }
        events.deaths += lives_ - lives;
        gameLost = kFalse;
    }
    lives = lives_;  // neither a death nor an extra life changes what the level allows
    if (levelLeft != 0) events.left = true;
    if (levelWon != 0) events.won = true;
    if (playerCol >= 0 && playerCol < kMapCols && playerRow >= 0 && playerRow < kMapRows) {
        visited_[static_cast<size_t>(playerCol + kMapCols * playerRow)] = true;
    }
    if (trail_ != nullptr &&
        (trail_->empty() || trail_->back() != std::pair<int, int>(playerCol, playerRow))) {
        trail_->emplace_back(playerCol, playerRow);
    }
}

bool LevelPlay::CountStep() {
    if (lastStepTime == seenStepTime_) return false;
    seenStepTime_ = lastStepTime;
    ++steps_;
    return true;
}

PlayEvents LevelPlay::Hold(uint8_t keys, long steps) {
    PlayEvents events;
    const long target = steps_ + steps;
    for (;;) {
        Frame(keys, events);
        if (events.Finished()) return events;
        if (CountStep() && steps_ >= target) return events;
    }
}

PlayEvents LevelPlay::HoldUntil(uint8_t keys, long frames) {
    PlayEvents events;
    while (host_.Frames() < frames && !events.Finished()) {
        Frame(keys, events);
        CountStep();
    }
    return events;
}

PlayEvents LevelPlay::PlayReplay(const Replay& replay, long graceSteps) {
    Start();
    PlayEvents total;
    const auto add = [&total](const PlayEvents& e) {
        total.deaths += e.deaths;
        total.left = total.left || e.left;
        total.won = total.won || e.won;
    };
    for (const Replay::Segment& segment : replay.segments) {
        add(Hold(segment.Keys(), segment.steps));
        if (total.Finished()) return total;
    }
    for (long i = 0; i < graceSteps && !total.Finished(); ++i)
        add(Hold(0, 1));
    return total;
}

PlaySnapshot LevelPlay::Save() const {
    return PlaySnapshot{state.play, host_.Frames(), steps_, seenStepTime_};
}

void LevelPlay::Restore(const PlaySnapshot& snapshot) {
    state.play = snapshot.play;
    host_.SetFrames(snapshot.frames);
    steps_ = snapshot.steps;
    seenStepTime_ = snapshot.seenStepTime;
    deathFrame_ = deathStep_ = -1;
}

}  // namespace zorvik
