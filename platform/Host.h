// SPDX-License-Identifier: GPL-3.0-or-later
// The interface behind which the SDL host (the real game) and the headless host (tests and
// tools) supply the screen, the 60 Hz display clock, the keyboard, sound output and the
// program's surroundings. One host is installed at start and used by every DirectX call.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace dx {

class Mixer;

// Thrown by the headless host when the program ends (EndProgram), so tests can observe it.
struct ProgramEnded {
    int status;
};

class Host {
  public:
    virtual ~Host() = default;

    // Shows a 640 x 480 RGB565 picture (the primary surface).
    virtual void Present(const uint16_t* pixels) = 0;
    // Returns at the next tick of the steady 60 Hz display clock.
    virtual void WaitForFrame() = 0;
    // Milliseconds since an arbitrary start.
    virtual uint32_t NowMs() = 0;
    // One pass of the window's message pump.
    virtual void PumpEvents() = 0;
    // Fills 256 bytes by DirectInput scan code (0x80 = down). Called for every keyboard read;
    // readsSinceFlip counts the reads since the last flip (1 for the first), so a host can yield
    // in loops that poll without flipping.
    virtual void ReadKeyboard(uint8_t keys[256], int readsSinceFlip) = 0;
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void ShowCursor(bool show) = 0;
    virtual void SetDisplayMode(int width, int height) = 0;
    virtual void RestoreDisplayMode() = 0;
    [[noreturn]] virtual void EndProgram(int status) = 0;
    virtual double Random() = 0;
    virtual std::string ProgramDirectory() = 0;
    // The mixer that plays every sound buffer.
    virtual Mixer& GetMixer() = 0;
    // How often the game's window has lost the keyboard focus so far.
    virtual uint32_t FocusLossCount() { return 0; }

    // Set by the game at start to its exit procedure; the SDL host calls it when the window is
    // closed or the program gets SIGINT/SIGTERM. Unset, the host restores the desktop and exits.
    std::function<void()> onQuitRequest;
};

// Installs the host every platform call uses (not owned). Must be called before any call.
void SetHost(Host* host);
Host& CurrentHost();
bool HasHost();

}  // namespace dx
