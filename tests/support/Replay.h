// Replays: scripted key sequences that play one level from its start to its exit, kept as text
// beside the tests, and the player that feeds them to the headless game one player step at a time.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "GameHarness.h"

namespace zorvik::test {

// One replay file (tests/replays/levelN.replay). Lines "<steps> <keys>": the keys are held for
// that many player steps, keys being any of L R U C (Ctrl) S (Shift), or '-' for none. A player
// step is one animation step of the player (about two frames in three at 60 frames a second);
// counting steps rather than frames keeps a replay independent of the clock's phase. '#' starts
// a comment; "# expect-score: N" is the score the level adds, "# expect-deaths: N" the lives it
// may cost (0 unless given).
struct Replay {
    struct Segment {
        long steps = 0;
        bool left = false, right = false, up = false, ctrl = false, shift = false;
        int line = 0;  // line number in the file, for traces
    };
    std::vector<Segment> segments;
    long expectScore = -1;  // -1 when the file does not say
    int expectDeaths = 0;

    // The total number of steps the replay holds keys for.
    long TotalSteps() const;
    // The segment holding keys at a step (nullptr after the end).
    const Segment* At(long step) const;
};

class ReplayError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Called by the campaign tests and the trace: parses a replay; throws ReplayError with the line.
Replay ParseReplay(const std::string& text);
Replay LoadReplay(const std::string& path);
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
    bool stuck_ = false;
    std::vector<LevelRun> runs_;
};

// A whole-level run from the level's start, as the campaign test and the trace play it: loads
// level `level` from the game folder of `game` after the state a new game (or the previous
// level's exit) leaves, and plays the replay to the level's end. Returns the run.
LevelRun PlayLevel(GameHarness& game, int level, const Replay& replay,
                   const std::function<void(long step, const Replay::Segment*)>& onStep = {});

}  // namespace zorvik::test
