// Replay files and the player that feeds them to the headless game step by step.
#include "Replay.h"

#include <fstream>
#include <sstream>

#include "A_deklarace.h"
#include "B_inicializuj.h"
#include "C_mainloop.h"
#include "E_load.h"
#include "TestPaths.h"

namespace zorvik::test {

namespace {

constexpr int kDikLeft = 203, kDikRight = 205, kDikUp = 200, kDikCtrl = 29, kDikShift = 42;
constexpr int kDikSpace = 57;

long HeaderNumber(const std::string& comment, const std::string& key, int lineNo) {
    const size_t at = comment.find(key);
    if (at == std::string::npos) return -1;
    std::istringstream in(comment.substr(at + key.size()));
    long value = -1;
    if (!(in >> value) || value < 0) {
        throw ReplayError("line " + std::to_string(lineNo) + ": " + key + " needs a number");
    }
    return value;
}

}  // namespace

long Replay::TotalSteps() const {
    long total = 0;
    for (const Segment& s : segments)
        total += s.steps;
    return total;
}

const Replay::Segment* Replay::At(long step) const {
    for (const Segment& s : segments) {
        if (step < s.steps) return &s;
        step -= s.steps;
    }
    return nullptr;
}

Replay ParseReplay(const std::string& text) {
    Replay replay;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        const size_t hash = line.find('#');
        if (hash != std::string::npos) {
            const std::string comment = line.substr(hash);
            if (long v = HeaderNumber(comment, "expect-score:", lineNo); v >= 0) {
                replay.expectScore = v;
            }
            if (long v = HeaderNumber(comment, "expect-deaths:", lineNo); v >= 0) {
                replay.expectDeaths = static_cast<int>(v);
            }
            line.erase(hash);
        }
        std::istringstream fields(line);
        std::string count, keys, extra;
        if (!(fields >> count)) continue;  // blank or comment only
        const std::string where = "line " + std::to_string(lineNo) + ": ";
        if (!(fields >> keys) || (fields >> extra)) {
            throw ReplayError(where + "expected \"<steps> <keys>\"");
        }
        Replay::Segment seg;
        seg.line = lineNo;
        try {
            size_t used = 0;
            seg.steps = std::stol(count, &used);
            if (used != count.size() || seg.steps <= 0) throw std::invalid_argument(count);
        } catch (const std::exception&) {
            throw ReplayError(where + "the step count must be a positive number");
        }
        if (keys != "-") {
            for (char k : keys) {
                bool* flag = k == 'L'   ? &seg.left
                             : k == 'R' ? &seg.right
                             : k == 'U' ? &seg.up
                             : k == 'C' ? &seg.ctrl
                             : k == 'S' ? &seg.shift
                                        : nullptr;
                if (flag == nullptr) {
                    throw ReplayError(where + "unknown key '" + std::string(1, k) +
                                      "' (use L R U C S or -)");
                }
                *flag = true;
            }
        }
        replay.segments.push_back(seg);
    }
    return replay;
}

Replay LoadReplay(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ReplayError("cannot open " + path);
    std::ostringstream text;
    text << in.rdbuf();
    try {
        return ParseReplay(text.str());
    } catch (const ReplayError& e) {
        throw ReplayError(path + ": " + e.what());
    }
}

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
    runs_.push_back(run);
    playing_ = false;
    ReleaseKeys();
}

void ReplayPlayer::OnKeyboardRead(dx::HeadlessHost& host) {
    if (!playing_) return;
    if (lives < lastLives_) deaths_ += lastLives_ - lives;
    lastLives_ = lives;
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
        if (steps_ == 1) startFrame_ = host.Frames() - 1;
        if (onStep) onStep(steps_, replay_->At(steps_));
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
    if (player.Runs().empty()) return LevelRun{level};
    return player.Runs().back();
}

}  // namespace zorvik::test
