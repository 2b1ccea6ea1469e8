// SPDX-License-Identifier: GPL-3.0-or-later
// Replay text and the step schedule that plays it.
#include "Replay.h"

#include "LevelRules.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sstream>

namespace zorvik {

namespace {

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

// The cell of a "col C row R" header after `key`, added to `spots`; nothing without the key.
void HeaderSpot(const std::string& comment, const std::string& key, int lineNo,
                std::vector<Replay::Spot>& spots) {
    const size_t at = comment.find(key);
    if (at == std::string::npos) return;
    std::istringstream in(comment.substr(at + key.size()));
    std::string colWord, rowWord;
    Replay::Spot s;
    if (!(in >> colWord >> s.col >> rowWord >> s.row) || colWord != "col" || rowWord != "row" ||
        s.col < 1 || s.col > levelrules::kColumns || s.row < 1 || s.row > levelrules::kRows) {
        throw ReplayError("line " + std::to_string(lineNo) + ": " + key +
                          " needs \"col C row R\" within the map");
    }
    spots.push_back(s);
}

constexpr long kMaxSteps = 10'000'000;  // about 42 hours of play: anything longer is a mistake
constexpr off_t kMaxReplayBytes = 1 << 20;

// The bytes of a regular file of at most kMaxReplayBytes; throws ReplayError otherwise (a FIFO
// or a device would block or never end).
std::string ReplayFileText(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) throw ReplayError(path + ": cannot open the file");
    struct stat info {};
    std::string text;
    bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= kMaxReplayBytes;
    if (ok) {
        text.resize(static_cast<size_t>(info.st_size));
        size_t done = 0;
        while (ok && done < text.size()) {
            const ssize_t n = read(fd, text.data() + done, text.size() - done);
            ok = n > 0;
            if (ok) done += static_cast<size_t>(n);
        }
    }
    close(fd);
    if (!ok) throw ReplayError(path + ": not a readable replay file of at most a megabyte");
    return text;
}

}  // namespace

uint8_t Replay::Segment::Keys() const {
    return static_cast<uint8_t>((left ? kKeyLeft : 0) | (right ? kKeyRight : 0) |
                                (up ? kKeyUp : 0) | (ctrl ? kKeyCtrl : 0) |
                                (shift ? kKeyShift : 0));
}

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

void Replay::Hold(uint8_t keys, long steps) {
    if (steps <= 0) return;
    if (!segments.empty() && segments.back().Keys() == keys) {
        segments.back().steps += steps;
        return;
    }
    Segment seg;
    seg.steps = steps;
    seg.left = (keys & kKeyLeft) != 0;
    seg.right = (keys & kKeyRight) != 0;
    seg.up = (keys & kKeyUp) != 0;
    seg.ctrl = (keys & kKeyCtrl) != 0;
    seg.shift = (keys & kKeyShift) != 0;
    segments.push_back(seg);
}

Replay ParseReplay(const std::string& text) {
    Replay replay;
    std::istringstream in(text);
    std::string line;
    int lineNo = 0;
    long total = 0;
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
            HeaderSpot(comment, "expect-taken:", lineNo, replay.expectTaken);
            HeaderSpot(comment, "hidden-secret:", lineNo, replay.hiddenSecret);
            HeaderSpot(comment, "secret-entrance:", lineNo, replay.secretEntrance);
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
        total += seg.steps;
        if (total > kMaxSteps) throw ReplayError(where + "the replay is too long");
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
    const std::string text = ReplayFileText(path);
    try {
        return ParseReplay(text);
    } catch (const ReplayError& e) {
        throw ReplayError(path + ": " + e.what());
    }
}

std::string FormatReplay(const Replay& replay, const std::string& header) {
    std::string text = header;
    for (const Replay::Segment& s : replay.segments) {
        text += std::to_string(s.steps) + ' ';
        const size_t before = text.size();
        if (s.left) text += 'L';
        if (s.right) text += 'R';
        if (s.up) text += 'U';
        if (s.ctrl) text += 'C';
        if (s.shift) text += 'S';
        if (text.size() == before) text += '-';
        text += '\n';
    }
    return text;
}

void ReplaySchedule::Start(int32_t stepTime) {
    steps_ = 0;
    seenStepTime_ = stepTime;
}

uint8_t ReplaySchedule::OnRead(int32_t stepTime) {
    if (stepTime != seenStepTime_) {
        seenStepTime_ = stepTime;
        ++steps_;
    }
    const Replay::Segment* seg = replay_->At(steps_);
    return seg == nullptr ? 0 : seg->Keys();
}

}  // namespace zorvik
