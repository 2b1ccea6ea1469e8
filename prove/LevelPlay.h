// SPDX-License-Identifier: GPL-3.0-or-later
// One level played with the game's own frame code on the prover's host: started as test-play
// starts it (start-up, the frame-rate results of a steady 60 Hz display, the level without its
// intro card), played frame by frame with the keys a replay or the search holds, counted in
// player steps as replays are, and copied and restored whole.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "A_deklarace.h"
#include "PlayHost.h"
#include "Replay.h"

namespace zorvik {

// What happened while keys were held.
struct PlayEvents {
    int deaths = 0;     // lives lost (the prover keeps the count of lives as it was)
    bool left = false;  // the level was left through its exit
    bool won = false;   // the final goal was reached
    bool Finished() const { return left || won; }
};

// Everything a frame reads that can differ between two moments of one level.
struct PlaySnapshot {
    PlayState play;
    long frames = 0;
    long steps = 0;
    int32_t seenStepTime = 0;
};

class LevelPlay {
  public:
    // Installs a host with pixel work off and reads the map set whose tile file is tilePath
    // (".1" and ".2" beside it). Throws std::runtime_error saying why when it cannot be read.
    explicit LevelPlay(const std::string& tilePath);
    // Releases every surface and buffer and uninstalls the host.
    ~LevelPlay();
    // Installs this object's host again, after another LevelPlay came and went; the next Start
    // or PlayReplay sets the globals afresh.
    void Reinstall();
    LevelPlay(const LevelPlay&) = delete;
    LevelPlay& operator=(const LevelPlay&) = delete;

    // A fresh start: every global as at program start, start-up, the level loaded; frame and
    // step counts 0.
    void Start();
    // Plays frames holding `keys` until `steps` more player steps have been counted (stopping
    // early when the level is left or won). Lives lost are counted and given back.
    PlayEvents Hold(uint8_t keys, long steps);
    // Plays frames holding `keys` until the clock has counted `frames` flips (none when it has
    // already), counting steps as Hold does.
    PlayEvents HoldUntil(uint8_t keys, long frames);
    // Plays a whole replay from a fresh start; then up to `graceSteps` steps with no keys, until
    // the level is left or won. Returns what happened.
    PlayEvents PlayReplay(const Replay& replay, long graceSteps);

    long Frames() const { return host_.Frames(); }
    // Frames played since this object was made, over every start and restore.
    long FramesPlayed() const { return framesPlayed_; }
    long Steps() const { return steps_; }
    // The first life lost since the last start or restore: the clock's flips after the frame it
    // was lost in, and the steps counted before that frame; -1 for none.
    long DeathFrame() const { return deathFrame_; }
    long DeathStep() const { return deathStep_; }
    PlaySnapshot Save() const;
    void Restore(const PlaySnapshot& snapshot);

    // The map cells the player has stood in since the last ClearVisited (column + 54 x row).
    const std::array<bool, kMapCols * kMapRows>& Visited() const { return visited_; }
    void ClearVisited() { visited_.fill(false); }
    // While set, every frame appends the player's cell (1-based map column and row) when it
    // differs from the last one appended.
    void RecordTrail(std::vector<std::pair<int, int>>* trail) { trail_ = trail; }
    // Message boxes the game showed (a fault of the level or the game).
    const std::vector<std::string>& Messages() const { return host_.Messages(); }

  private:
    // One frame with `keys` held; adds to `events`.
    void Frame(uint8_t keys, PlayEvents& events);
    // Counts a step when the game's lastStepTime changed since the last call.
    bool CountStep();

    std::string tilePath_;
    PlayHost host_;
    int16_t lives_ = 0;  // the lives a fresh start gives, kept through deaths
    long steps_ = 0;
    int32_t seenStepTime_ = 0;
    std::array<bool, kMapCols * kMapRows> visited_{};
    std::vector<std::pair<int, int>>* trail_ = nullptr;
    long framesPlayed_ = 0;
    long deathFrame_ = -1;
    long deathStep_ = -1;
};

// The start of test-play on a steady clock, shared by the prover and `zorvik --replay`: start-up,
// the frame-rate results of a 60 Hz display and the level without its intro card. Throws
// std::runtime_error when start-up fails.
void StartTestLevelOnSteadyClock();

}  // namespace zorvik
