// SPDX-License-Identifier: GPL-3.0-or-later
// The harness every game test runs in: a headless host on the build's game folder (or a
// temporary copy of it), clean globals, start-up without the frame-rate test, and key scripts.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DirectX.h"
#include "HeadlessHost.h"

namespace zorvik::test {

// A throw-away game folder mirroring the build's game folder: every file is a symbolic link to
// the original except the high-score file, which is a real copy, so a test may delete, replace
// or write files without touching the build. Removed with everything in it when destroyed.
class TempGameDir {
  public:
    TempGameDir();
    ~TempGameDir();
    TempGameDir(const TempGameDir&) = delete;
    TempGameDir& operator=(const TempGameDir&) = delete;

    const std::string& Path() const { return path_; }
    // The full path of a file given relative to the folder, e.g. "data/007.dat".
    std::string File(const std::string& relative) const;
    // Deletes one file (a link or a copy); true when it existed.
    bool Remove(const std::string& relative);
    // Replaces one file (or creates it) with the given bytes.
    void Write(const std::string& relative, const std::string& contents);

  private:
    std::string path_;
};

class GameHarness {
  public:
    // Installs a headless host on programDir (the build's game folder by default) and restores
    // every global to its program-start value.
    explicit GameHarness(const std::string& programDir = "");
    // The same with a host of the test's own (for example one with another clock).
    explicit GameHarness(std::unique_ptr<dx::HeadlessHost> host);
    // Releases every surface and buffer, uninstalls the host.
    ~GameHarness();
    GameHarness(const GameHarness&) = delete;
    GameHarness& operator=(const GameHarness&) = delete;

    dx::HeadlessHost& Host() { return *host_; }

    // Runs InitDirectX on the host's folder; true (and no failure recorded) when start-up
    // showed no message. Use it instead of Form_Load when a test needs the loaded game.
    bool InitGame();
    // Sets what MeasureFrameRate would leave on a display flipping at 60 frames a second
    // (or the given values), without running the three-second test.
    void SetFrameRateResults(int16_t stepIntervalMs = 16, int16_t textDelayFrames = 22,
                             int16_t detail = 1);

    // ---- keys (DirectInput scan codes) -------------------------------------------------------
    void Press(int dik) { host_->SetKey(dik, true); }
    void Release(int dik) { host_->SetKey(dik, false); }
    // Held during flips [fromFrame, toFrame), counted from the host's first flip.
    void HoldKeyFrames(int dik, long fromFrame, long toFrame) {
        host_->HoldKeyDuringFrames(dik, fromFrame, toFrame);
    }
    // Held while the virtual clock is in [fromMs, toMs). Unlike frames, the clock also advances
    // in loops that poll the keyboard without flipping (menus, the name entry).
    void HoldKeyMs(int dik, double fromMs, double toMs);
    // Held for durationMs, starting afterMs from now on the virtual clock.
    void TapKeyAfterMs(int dik, double afterMs, double durationMs = 100.0);
    // Called on every keyboard read after the timed holds are applied (the host's own
    // onKeyboardRead is taken by the harness; do not assign it when using HoldKeyMs).
    std::function<void(dx::HeadlessHost&)> onKeyboardRead;

    // ---- running -------------------------------------------------------------------------
    // Runs `body`; returns the program's exit status if it ended (EndProgram) inside it,
    // nothing if it returned normally.
    static std::optional<int> RunUntilEnd(const std::function<void()>& body);
    // How many message boxes showed exactly `text`.
    int CountMessages(const std::string& text) const;

    // ---- pictures -------------------------------------------------------------------------
    // Writes the picture last shown on the screen (640 x 480) as a PNG; false on failure.
    bool SaveFramePng(const std::string& path) const;
    // Writes a whole surface as a PNG; false on failure or when there is no surface.
    static bool SaveSurfacePng(const dx::DirectDrawSurface7* surface, const std::string& path);

  private:
    struct TimedHold {
        int dik;
        double fromMs;
        double toMs;
    };
    void ApplyTimedHolds();

    std::unique_ptr<dx::HeadlessHost> host_;
    std::vector<TimedHold> timedHolds_;
};

// A GoogleTest fixture owning one harness on the build's game folder.
class GameTest : public ::testing::Test {
  protected:
    GameHarness game;
};

}  // namespace zorvik::test
