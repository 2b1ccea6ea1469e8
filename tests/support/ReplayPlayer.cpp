// SPDX-License-Identifier: GPL-3.0-or-later
// The player that feeds replays to the headless game step by step.
#include "ReplayPlayer.h"

#include <algorithm>

#include "A_deklarace.h"
#include "B_inicializuj.h"
#include "C_mainloop.h"
#include "E_load.h"
#include "TestPaths.h"

namespace zorvik::test {

namespace {

constexpr int kDikLeft = 203, kDikRight = 205, kDikUp = 200, kDikCtrl = 29, kDikShift = 42;
constexpr int kDikSpace = 57;

}  // namespace

std::string ReplayPath(int level) {
    return SourceDir() + "/tests/replays/level" + std::to_string(level) + ".replay";
}

// ---- ReplayPlayer ---------------------------------------------------------------------------

void ReplayPlayer::Begin(int level, const Replay& replay) {
    replays_.emplace_back(level, replay);
    Start(level);
}

void ReplayPlayer::AddNext(int level, const Replay& replay) {
    replays_.emplace_back(level, replay);
}

void ReplayPlayer::Start(int level) {
    replay_ = nullptr;
    for (const auto& [n, r] : replays_)
        if (n == level) replay_ = &r;
    playing_ = replay_ != nullptr;
    level_ = level;
    steps_ = 0;
    startFrame_ = game_.Host().Frames();
    startScore_ = score;
    deaths_ = 0;
    lastLives_ = lives;
    lastStepTime_ = lastStepTime;
    taken_.assign(playing_ ? replay_->expectTaken.size() : 0, false);
    seen_ = taken_;
    restartPoint_ = {-1, -1};
    restartFrame_ = startFrame_;
    longestStretch_ = 0;
}

void ReplayPlayer::ReleaseKeys() {
    for (int dik : {kDikLeft, kDikRight, kDikUp, kDikCtrl, kDikShift, kDikSpace})
        game_.Release(dik);
}

void ReplayPlayer::Finish(bool left, bool won, bool lost) {
    LevelRun run;
    run.level = level_;
    run.left = left;
    run.won = won;
    run.lost = lost;
    run.steps = steps_;
    run.frames = game_.Host().Frames() - startFrame_;
    run.scoreGained = score - startScore_;
    run.deaths = deaths_;
    run.taken = taken_;
    run.longestStretch = std::max(longestStretch_, game_.Host().Frames() - restartFrame_);
    runs_.push_back(run);
    playing_ = false;
    ReleaseKeys();
}

void ReplayPlayer::OnKeyboardRead(dx::HeadlessHost& host) {
    if (!playing_) return;
    if (lives < lastLives_) deaths_ += lastLives_ - lives;
    lastLives_ = lives;
    // A pickup counts as taken once it was seen lying and then gone (the first reads of a level
    // may come before its map is read).
    if (levelNumber == level_) {
        for (size_t i = 0; i < taken_.size(); ++i) {
            const Replay::Spot& s = replay_->expectTaken[i];
            const bool lying = mapItems(s.col, s.row) != 0;
            if (lying) seen_[i] = true;
            if (!lying && seen_[i]) taken_[i] = true;
        }
    }
    if (levelNumber != level_ || levelWon != 0 || gameLost != 0) {
        const int ended = level_;
        Finish(levelNumber != level_ && levelWon == 0 && gameLost == 0, levelWon != 0,
               gameLost != 0);
        if (ended == stopAfterLevel) throw Stop{};
        if (runs_.back().left) Start(levelNumber);
        if (!playing_) return;
    }
    if (lastStepTime != lastStepTime_) {
        lastStepTime_ = lastStepTime;
        ++steps_;
        // The level's first frame steps at once (its clock is long past): count frames from it.
        if (steps_ == 1) startFrame_ = restartFrame_ = host.Frames() - 1;
        if (onStep) onStep(steps_, replay_->At(steps_));
    }
    if (steps_ > 0 && std::pair<int, int>(signpostCol, signpostRow) != restartPoint_) {
        if (restartPoint_.first >= 0)
            longestStretch_ = std::max(longestStretch_, host.Frames() - restartFrame_);
        restartPoint_ = {signpostCol, signpostRow};
        restartFrame_ = host.Frames();
    }
    if (steps_ > replay_->TotalSteps() + graceSteps) {
        Finish(false, false, false);  // stuck: neither exit nor goal in time
        throw Stop{};
    }
    const Replay::Segment* seg = replay_->At(steps_);
    const Replay::Segment none;
    if (seg == nullptr) seg = &none;
    auto set = [&host](int dik, bool down) { host.SetKey(dik, down); };
    set(kDikLeft, seg->left);
    set(kDikRight, seg->right);
    set(kDikUp, seg->up);
    set(kDikCtrl, seg->ctrl);
    set(kDikShift, seg->shift);
    set(kDikSpace, true);  // answers the intro card; the level itself ignores Space
}

LevelRun PlayLevel(GameHarness& game, int level, const Replay& replay,
                   const std::function<void(long step, const Replay::Segment*)>& onStep) {
    // The state a new game leaves (lives, score, key delay), on the requested level.
    ResetNewGame();
    levelNumber = static_cast<int16_t>(level);
    ReplayPlayer player(game);
    player.onStep = onStep;
    player.stopAfterLevel = level;
    player.Begin(level, replay);
    game.onKeyboardRead = [&player](dx::HeadlessHost& host) { player.OnKeyboardRead(host); };
    try {
        LoadLevel();
        RunLevelLoop();
        player.OnKeyboardRead(game.Host());  // records the goal or the loss
    } catch (const ReplayPlayer::Stop&) {
    }
    game.onKeyboardRead = nullptr;
    player.ReleaseKeys();
    if (!player.Runs().empty()) return player.Runs().back();
    LevelRun none;
    none.level = level;
    return none;
}

}  // namespace zorvik::test
