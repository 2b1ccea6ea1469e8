// SPDX-License-Identifier: GPL-3.0-or-later
// Key scripts for the menu and screen tests: each key is pressed when the game is found waiting
// in a keyboard poll loop (or a number of frames after the previous key), and released once
// the game has drawn a frame in answer or after a number of reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "GameHarness.h"
#include "HeadlessHost.h"

namespace zorvik::test {

namespace dik {
constexpr int kEscape = 1;
constexpr int kBackspace = 14;
constexpr int kQ = 16;
constexpr int kT = 20;
constexpr int kO = 24;
constexpr int kA = 30;
constexpr int kS = 31;
constexpr int kZ = 44;
constexpr int kB = 48;
constexpr int kEnter = 28;
constexpr int kSpace = 57;
constexpr int kKeypadEnter = 156;
constexpr int kUp = 200;
constexpr int kDown = 208;
}  // namespace dik

class KeyScript {
  public:
    // Reads in a row without a flip after which the game counts as waiting for a key. Text
    // animations read at most ten times a frame, the level loop once.
    static constexpr long kIdleReads = 30;

    explicit KeyScript(GameHarness& game) {
        game.onKeyboardRead = [this](dx::HeadlessHost& host) { OnRead(host); };
    }

    // Pressed when the game waits for a key; released after the next flip or 100 reads.
    KeyScript& Tap(int key) { return Add({key, false, 0, true, 100}); }
    // Pressed `frames` flips after the previous key was released (for loops that flip).
    KeyScript& TapAfterFrames(int key, long frames) { return Add({key, true, frames, true, 100}); }
    // Pressed when the game waits for a key and held for `reads` keyboard reads, whatever the
    // game draws meanwhile.
    KeyScript& Hold(int key, long reads) { return Add({key, false, 0, false, reads}); }

    // Keys pressed so far.
    size_t Done() const { return pressFrames_.size(); }
    // Every key of the script has been pressed.
    bool Finished() const { return pressFrames_.size() == actions_.size(); }
    // Flip count at which each key was pressed, and the picture on the screen then.
    const std::vector<long>& PressFrames() const { return pressFrames_; }
    const std::vector<std::vector<uint16_t>>& PressScreens() const { return pressScreens_; }

  private:
    struct Action {
        int key;
        bool afterFrames;
        long frames;
        bool releaseOnFlip;
        long holdReads;
    };

    KeyScript& Add(const Action& action) {
        actions_.push_back(action);
        return *this;
    }

    void OnRead(dx::HeadlessHost& host) {
        const long frames = host.Frames();
        if (frames != lastFrames_) {
            idleReads_ = 0;
            lastFrames_ = frames;
        } else {
            ++idleReads_;
        }
        if (held_) {
            const Action& a = actions_[next_];
            ++heldReads_;
            if ((a.releaseOnFlip && frames != pressFrame_) || heldReads_ > a.holdReads) {
                host.SetKey(a.key, false);
                held_ = false;
                releaseFrame_ = frames;
                idleReads_ = 0;
                ++next_;
            }
            return;
        }
        if (next_ >= actions_.size()) return;
        const Action& a = actions_[next_];
        const bool go =
            a.afterFrames ? frames - releaseFrame_ >= a.frames : idleReads_ >= kIdleReads;
        if (!go) return;
        host.SetKey(a.key, true);
        held_ = true;
        heldReads_ = 0;
        pressFrame_ = frames;
        pressFrames_.push_back(frames);
        pressScreens_.push_back(host.Screen());
    }

    std::vector<Action> actions_;
    std::vector<long> pressFrames_;
    std::vector<std::vector<uint16_t>> pressScreens_;
    size_t next_ = 0;
    bool held_ = false;
    long heldReads_ = 0;
    long pressFrame_ = 0;
    long releaseFrame_ = 0;
    long lastFrames_ = -1;
    long idleReads_ = 0;
};

}  // namespace zorvik::test
