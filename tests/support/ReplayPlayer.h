// SPDX-License-Identifier: GPL-3.0-or-later
// The player that feeds replays (tests/replays/levelN.replay, format in Replay.h) to the
// headless game one player step at a time, from the title menu's game or from one level.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "GameHarness.h"
#include "Replay.h"

namespace zorvik::test {

// The replay file of level n in the source tree.
std::string ReplayPath(int level);

// What one level's run came to.
struct LevelRun {
    int level = 0;
    bool left = false;     // the exit took the player to the next level
    bool won = false;      // the goal ended the game
    bool lost = false;     // the last life went
    long steps = 0;        // player steps from the level's first frame to its end
    long frames = 0;       // frames likewise
    long scoreGained = 0;  // score at the end minus score at the start
    int deaths = 0;        // lives lost on the way
    // For each of the replay's expect-taken cells: whether its pickup was gone by the level's end.
    std::vector<bool> taken;
    // Frames of the longest play between two places the player would start again from (the
    // level's start, each signpost reached), or from the last of them to the level's end.
    long longestStretch = 0;
};

// Feeds replays to the game from the harness's keyboard hook. For every level it tracks the
// player's steps (a change of lastStepTime), holds the keys of the current step and Space (which
// answers the level's intro card), and records a LevelRun when levelNumber changes, levelWon or
// gameLost is set.
class ReplayPlayer {
  public:
    // Thrown from the keyboard hook when `stopAfterLevel` has ended, so a single-level run stops
    // inside the next level's intro card before its map is read.
    struct Stop {};

    explicit ReplayPlayer(GameHarness& game) : game_(game) {}

    // Starts playing `replay` on the current level (levelNumber) from the next keyboard read.
    void Begin(int level, const Replay& replay);
    // Replays for later levels, started as the game reaches them.
    void AddNext(int level, const Replay& replay);
    // Starts playing the replay added for `level` from the next keyboard read.
    void Start(int level);
    // Throw Stop once this level has ended (0: never).
    int stopAfterLevel = 0;
    // Steps after a replay's last line before the run counts as stuck and stops.
    long graceSteps = 400;
    // Called on every step with the step index, for traces.
    std::function<void(long step, const Replay::Segment*)> onStep;

    // The hook to install as GameHarness::onKeyboardRead (or call from one).
    void OnKeyboardRead(dx::HeadlessHost& host);
    // True while a level is being played.
    bool Playing() const { return playing_; }
    const std::vector<LevelRun>& Runs() const { return runs_; }
    // Releases every key the player holds.
    void ReleaseKeys();

  private:
    void Finish(bool left, bool won, bool lost);

    GameHarness& game_;
    std::vector<std::pair<int, Replay>> replays_;
    const Replay* replay_ = nullptr;
    bool playing_ = false;
    int level_ = 0;
    long steps_ = 0;
    long startFrame_ = 0;
    long startScore_ = 0;
    int deaths_ = 0;
    int lastLives_ = 0;
    int32_t lastStepTime_ = 0;
    std::vector<bool> seen_, taken_;
    std::pair<int, int> restartPoint_;
    long restartFrame_ = 0;
    long longestStretch_ = 0;
    bool stuck_ = false;
    std::vector<LevelRun> runs_;
};

// A whole-level run from the level's start, as the campaign test and the trace play it: loads
// level `level` from the game folder of `game` after the state a new game (or the previous
// level's exit) leaves, and plays the replay to the level's end. Returns the run.
LevelRun PlayLevel(GameHarness& game, int level, const Replay& replay,
                   const std::function<void(long step, const Replay::Segment*)>& onStep = {});

}  // namespace zorvik::test
