// SPDX-License-Identifier: GPL-3.0-or-later
// Replays: key sequences that play a level, kept as text ("<steps> <keys>" lines), and the
// schedule that turns one into the keys held at each keyboard read. The prover writes its routes
// in this form, the tests keep their hand-made ones in it, and `zorvik --replay` plays one.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace zorvik {

// The movement keys a replay can hold, as bits.
enum ReplayKey : uint8_t {
    kKeyLeft = 1,
    kKeyRight = 2,
    kKeyUp = 4,
    kKeyCtrl = 8,
    kKeyShift = 16,
};

// One replay. Lines "<steps> <keys>": the keys are held for that many player steps, keys being
// any of L R U C (Ctrl) S (Shift), or '-' for none. A player step is one animation step of the
// player (about two frames in three at 60 frames a second); counting steps rather than frames
// keeps a replay independent of the clock's phase. '#' starts a comment; "# expect-score: N" is
// the score the level adds, "# expect-deaths: N" the lives it may cost (0 unless given), and
// "# expect-taken: col C row R" names a pickup the replay takes (a bonus or a secret's cache),
// one line each; "# hidden-secret: col C row R" names a secret's pickup that no one sees from
// the way to the exit, and "# secret-entrance: col C row R" the cell where the replay leaves the
// way for it.
struct Replay {
    struct Segment {
        long steps = 0;
        bool left = false, right = false, up = false, ctrl = false, shift = false;
        int line = 0;  // line number in the file, for traces

        uint8_t Keys() const;
    };
    std::vector<Segment> segments;
    long expectScore = -1;  // -1 when the file does not say
    int expectDeaths = 0;
    struct Spot {
        int col = 0, row = 0;  // 1-based, as the editor shows them
    };
    std::vector<Spot> expectTaken;
    std::vector<Spot> hiddenSecret;
    std::vector<Spot> secretEntrance;

    // The total number of steps the replay holds keys for.
    long TotalSteps() const;
    // The segment holding keys at a step (nullptr after the end).
    const Segment* At(long step) const;
    // Appends `steps` steps of `keys`, joining them to the last segment when its keys are the
    // same.
    void Hold(uint8_t keys, long steps);
};

class ReplayError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Parses a replay; throws ReplayError naming the line.
Replay ParseReplay(const std::string& text);
// Reads and parses a replay file (a regular file of at most a megabyte); throws ReplayError.
Replay LoadReplay(const std::string& path);
// The replay as text, one segment a line, after `header` (comment lines, each ending in '\n').
std::string FormatReplay(const Replay& replay, const std::string& header = "");

// Which keys a replay holds at each keyboard read. A step is counted when the game's
// lastStepTime has changed since the last read; the keys of the segment holding that step count
// are held until the next step. Called once per keyboard read, before the keys are reported.
class ReplaySchedule {
  public:
    explicit ReplaySchedule(const Replay& replay) : replay_(&replay) {}
    // Starts at step 0 with the game's current lastStepTime.
    void Start(int32_t stepTime);
    // The keys for this read.
    uint8_t OnRead(int32_t stepTime);
    long Steps() const { return steps_; }
    // True once the steps counted have gone past the replay's last segment.
    bool Finished() const { return steps_ >= replay_->TotalSteps(); }

  private:
    const Replay* replay_;
    long steps_ = 0;
    int32_t seenStepTime_ = 0;
};

}  // namespace zorvik
