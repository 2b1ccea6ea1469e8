// SPDX-License-Identifier: GPL-3.0-or-later
// Small levels made for the prover's tests, written from rows of the level source legend
// (levels/README.md) into a temporary map set, and the game run that checks what the prover
// says: a replay played on the headless host with pixels on, from a fresh test-play start.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "GameHarness.h"
#include "Replay.h"

namespace zorvik::test {

// A map set in a temporary folder, removed with it. `rows` are the bottom rows of the map (the
// last one is row 18), each at most 50 characters, padded with '.'; `extra` likewise for the
// link digits. Fails the test when the source does not compile.
class ProverLevel {
  public:
    explicit ProverLevel(const std::vector<std::string>& rows,
                         const std::vector<std::string>& extra = {});
    const std::string& Path() const { return path_; }

  private:
    TempGameDir dir_;
    std::string path_;
};

// Map rows from the top down, each given with how many times it repeats.
std::vector<std::string> Stack(const std::vector<std::pair<int, std::string>>& parts);

// What the game did with a replay: played from a fresh test-play start (no intro card, the
// frame-rate results of a 60 Hz display) on the headless host with lives held, then 600 frames
// with no keys.
struct GameRun {
    bool left = false;  // through the exit
    bool won = false;   // at the goal
    int deaths = 0;
    long frames = 0;
    // Where things stand when the run ends.
    int col = 0, row = 0;
    int beamCharges = 0;
    int figuresAlive = 0;
    int stoneCol = 0, stoneRow = 0;  // the first stone, if any
    // For each cell (column + 54 x row), the first frame its pickup showed on the screen, or -1.
    std::vector<long> firstSeen;
    // The player's cell (1-based column and row) at each frame.
    std::vector<std::pair<int, int>> trail;

    bool Finished() const { return left || won; }
    long FirstSeen(int column, int mapRow) const;
    // The first frame the player was in the cell, or -1.
    long FirstIn(int column, int mapRow) const;
};
GameRun PlayInGame(const std::string& tilePath, const Replay& replay);

}  // namespace zorvik::test
