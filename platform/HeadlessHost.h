// SPDX-License-Identifier: GPL-3.0-or-later
// A host without window or audio device, for tests and tools: a virtual clock advancing exactly
// 1000/60 ms per flip, a scripted keyboard, every sound call, message box and program end
// recorded, and a hook after every flip. Same script, same frames, bit for bit.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "Host.h"
#include "Mixer.h"

namespace dx {

// Thrown when a run waits longer than the host's virtual time limit.
class HeadlessTimeout : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class HeadlessHost : public Host {
  public:
    explicit HeadlessHost(std::string programDirectory, uint32_t seed = 12345);
    ~HeadlessHost() override;

    // ---- script --------------------------------------------------------------------------
    // Holds or releases a key from now on.
    void SetKey(int dik, bool down);
    bool KeyDown(int dik) const;
    // Holds the key during flips [fromFrame, toFrame) (frame = number of flips so far).
    void HoldKeyDuringFrames(int dik, long fromFrame, long toFrame);
    // The window loses the keyboard focus now (the player switched to another window).
    void LoseFocus() { ++focusLosses_; }
    // Called on every keyboard read (before the keys are reported) and after every flip.
    std::function<void(HeadlessHost&)> onKeyboardRead;
    std::function<void(HeadlessHost&, const uint16_t* pixels)> onFlip;
    // The run throws HeadlessTimeout once the virtual clock passes this many milliseconds.
    void SetTimeLimitMs(double ms) { timeLimitMs_ = ms; }
    // Milliseconds a keyboard read costs when it is not the first few after a flip.
    static constexpr double kPollCostMs = 1.0;
    // Keyboard reads per flip that cost no time (a frame reads the keyboard once or twice).
    static constexpr int kFreeReadsPerFlip = 4;
    // timeGetTime calls in a row with no flip or keyboard read between them after which each
    // further call moves the clock on by kPollCostMs, so a loop that only watches the clock ends.
    static constexpr long kFreeClockReads = 10000;

    // ---- observation ---------------------------------------------------------------------
    long Frames() const { return frames_; }
    double NowExactMs() const { return nowMs_; }
    void AdvanceMs(double ms);
    const std::vector<std::string>& Messages() const { return messages_; }
    bool Ended() const { return ended_; }
    int EndStatus() const { return endStatus_; }
    bool CursorShown() const { return cursorShown_; }
    bool DisplayModeSet() const { return displayModeSet_; }
    long KeyboardReads() const { return keyboardReads_; }
    // The last picture presented (640 x 480 RGB565).
    const std::vector<uint16_t>& Screen() const { return screen_; }
    // Saves the last picture presented as a PNG file (for onFlip hooks); false on failure.
    bool SaveScreenPng(const std::string& path) const;
    // Mixer output samples rendered so far (1/60 s a flip, and the time of poll loops).
    long long MixedSamples() const { return mixedSamples_; }

    // ---- Host ----------------------------------------------------------------------------
    void Present(const uint16_t* pixels) override;
    void WaitForFrame() override;
    uint32_t NowMs() override;
    void PumpEvents() override {}
    void ReadKeyboard(uint8_t keys[256], int readsSinceFlip) override;
    void ShowMessage(const std::string& text) override;
    void ShowCursor(bool show) override { cursorShown_ = show; }
    void SetDisplayMode(int, int) override { displayModeSet_ = true; }
    void RestoreDisplayMode() override { displayModeSet_ = false; }
    [[noreturn]] void EndProgram(int status) override;
    double Random() override;
    std::string ProgramDirectory() override { return programDirectory_; }
    Mixer& GetMixer() override { return mixer_; }
    uint32_t FocusLossCount() override { return focusLosses_; }

  private:
    void CheckTimeLimit();
    // Recomputes nowMs_ from whole frames and the other advances, so frames stay exact.
    void UpdateClock();
    // Renders the mixer up to the virtual clock, so one-shot sounds end as in real time.
    void RenderMixer();

    std::string programDirectory_;
    std::mt19937 rng_;
    Mixer mixer_;
    double nowMs_ = 0.0;
    double advancedMs_ = 0.0;  // virtual time spent outside WaitForFrame
    long clockReadsWithoutProgress_ = 0;
    long long mixedSamples_ = 0;
    std::vector<int16_t> mixScratch_;
    double timeLimitMs_ = 10.0 * 60 * 1000;
    long frames_ = 0;
    long keyboardReads_ = 0;
    bool keys_[256] = {};
    struct Hold {
        int dik;
        long from;
        long to;
    };
    std::vector<Hold> holds_;
    std::vector<std::string> messages_;
    std::vector<uint16_t> screen_;
    bool ended_ = false;
    int endStatus_ = 0;
    bool cursorShown_ = true;
    bool displayModeSet_ = false;
    uint32_t focusLosses_ = 0;
};

}  // namespace dx
