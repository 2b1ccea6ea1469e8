// SPDX-License-Identifier: GPL-3.0-or-later
// The DirectX-7-like objects and the few Windows services the game is written against.
// Software RGB565 surfaces, a keyboard of DirectInput scan codes and DirectSound-like buffers;
// the active host (SDL or headless, see Host.h) supplies the screen, the clock and the devices.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

namespace dx {

// Every failing platform call throws this, naming the call and, where there is one, the file.
class PlatformError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// ---- constants the game passes (values as in DirectX 7) ----------------------------------
constexpr int32_t DDSD_CAPS = 1;
constexpr int32_t DDSD_HEIGHT = 2;
constexpr int32_t DDSD_WIDTH = 4;
constexpr int32_t DDSD_BACKBUFFERCOUNT = 32;
constexpr int32_t DDSCAPS_BACKBUFFER = 4;
constexpr int32_t DDSCAPS_COMPLEX = 8;
constexpr int32_t DDSCAPS_FLIP = 16;
constexpr int32_t DDSCAPS_OFFSCREENPLAIN = 64;
constexpr int32_t DDSCAPS_PRIMARYSURFACE = 512;
constexpr int32_t DDSCL_FULLSCREEN = 1;
constexpr int32_t DDSCL_ALLOWMODEX = 64;
constexpr int32_t DDSCL_NORMAL = 8;
constexpr int32_t DDSCL_EXCLUSIVE = 16;
constexpr int32_t DDBLTFAST_SRCCOLORKEY = 1;
constexpr int32_t DDBLTFAST_WAIT = 16;
constexpr int32_t DDBLT_WAIT = 16777216;
constexpr int32_t DDFLIP_WAIT = 1;
constexpr int32_t DDCKEY_SRCBLT = 8;
constexpr int32_t DIFORMAT_KEYBOARD = 1;
constexpr int32_t DISCL_NONEXCLUSIVE = 2;
constexpr int32_t DISCL_BACKGROUND = 8;
constexpr int32_t DSSCL_PRIORITY = 2;
constexpr int32_t DSBPLAY_LOOPING = 1;
constexpr int32_t DSBCAPS_STATIC = 2;
constexpr int32_t DSBCAPS_CTRLPAN = 64;
constexpr int32_t DSBCAPS_CTRLVOLUME = 128;
constexpr int32_t DSBCAPS_CTRLFREQUENCY = 32;
constexpr int32_t DD_OK = 0;
constexpr int32_t DDERR_INVALIDRECT = -2005532522;

// Screen size of the display mode the game sets.
constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;

// Rectangles are left, top, right, bottom with right and bottom exclusive.
struct RECT {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

struct DDSCAPS2 {
    int32_t lCaps = 0;
};

struct DDSURFACEDESC2 {
    int32_t lFlags = 0;
    int32_t lWidth = 0;
    int32_t lHeight = 0;
    int32_t lBackBufferCount = 0;
    DDSCAPS2 ddsCaps;
};

struct DDCOLORKEY {
    int32_t low = 0;
    int32_t high = 0;
};

struct DSBUFFERDESC {
    int32_t lFlags = 0;
};

struct WAVEFORMATEX {
    int16_t nFormatTag = 0;
    int16_t nChannels = 0;
    int32_t lSamplesPerSec = 0;
    int16_t nBitsPerSample = 0;
    int16_t nBlockAlign = 0;
    int32_t lAvgBytesPerSec = 0;
};

// 256 bytes indexed by DirectInput scan code; 0x80 while the key is down.
struct DIKEYBOARDSTATE {
    std::array<uint8_t, 256> key{};
};

// The colour value of the original language's RGB(): r + 256 g + 65536 b.
constexpr int32_t RGB(int r, int g, int b) {
    return r + 256 * g + 65536 * b;
}
// Converts 8-bit channels to RGB565 by dropping the low bits, as a 16-bit display does.
constexpr uint16_t To565(int r, int g, int b) {
    return static_cast<uint16_t>(((r & 0xF8) << 8) | ((g & 0xFC) << 3) | ((b & 0xF8) >> 3));
}
// The 8-bit channels of an RGB565 colour, each widened by repeating its high bits, so that 0
// stays 0 and full intensity becomes 255.
struct Rgb888 {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
};
constexpr Rgb888 From565(uint16_t colour) {
    const int r = (colour >> 11) & 0x1F;
    const int g = (colour >> 5) & 0x3F;
    const int b = colour & 0x1F;
    return {static_cast<uint8_t>((r << 3) | (r >> 2)), static_cast<uint8_t>((g << 2) | (g >> 4)),
            static_cast<uint8_t>((b << 3) | (b >> 2))};
}

// A software surface of RGB565 pixels, row by row without padding.
// BltFast, Blt and BltColorFill never clip: a rectangle that does not lie wholly inside its
// surface (or is empty or inverted) draws nothing and returns DDERR_INVALIDRECT.
namespace detail {
// SetDryRun's switch, read inline by the blits and fills a search makes millions of times.
inline bool dryRun = false;
}  // namespace detail

class DirectDrawSurface7 {
  public:
    DirectDrawSurface7(int width, int height);
    ~DirectDrawSurface7();
    DirectDrawSurface7(const DirectDrawSurface7&) = delete;
    DirectDrawSurface7& operator=(const DirectDrawSurface7&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    uint16_t* Pixels() { return pixels_.data(); }
    const uint16_t* Pixels() const { return pixels_.data(); }
    uint16_t Pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

    // Unscaled copy of srcRect of src to (x, y); with DDBLTFAST_SRCCOLORKEY the pixels whose
    // value lies within src's colour key are left out.
    int32_t BltFast(int32_t x, int32_t y, DirectDrawSurface7* src, const RECT& srcRect,
                    int32_t flags) {
        if (detail::dryRun && src != nullptr) return DD_OK;
        return CopyPixels(x, y, src, srcRect, flags);
    }
    // Stretching copy (nearest neighbour) of srcRect of src onto destRect.
    int32_t Blt(const RECT& destRect, DirectDrawSurface7* src, const RECT& srcRect, int32_t flags);
    // Fills destRect with a raw 565 value.
    int32_t BltColorFill(const RECT& destRect, int32_t color) {
        return detail::dryRun ? DD_OK : FillPixels(destRect, color);
    }
    // Line in the fore colour from (x1, y1) up to but not including (x2, y2); pixels off the
    // surface are skipped.
    void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void SetColorKey(int32_t flags, const DDCOLORKEY& key);
    void SetForeColor(int32_t rgb);
    // Primary surface only: exchanges pixels with the attached back buffer, shows the result
    // and, with DDFLIP_WAIT, returns at the next tick of the 60 Hz display clock.
    void Flip(DirectDrawSurface7* overrideSurface, int32_t flags);
    // Primary surface only: the back buffer of the flipping chain.
    std::shared_ptr<DirectDrawSurface7> GetAttachedSurface(const DDSCAPS2& caps);

    bool HasColorKey() const { return hasColorKey_; }
    DDCOLORKEY ColorKey() const { return colorKey_; }
    uint16_t ForeColor565() const { return foreColor_; }
    bool IsPrimary() const { return isPrimary_; }

  private:
    friend class DirectDraw7;
    void MarkDirtyIfPrimary();
    // BltFast and BltColorFill when pixels are worked.
    int32_t CopyPixels(int32_t x, int32_t y, DirectDrawSurface7* src, const RECT& srcRect,
                       int32_t flags);
    int32_t FillPixels(const RECT& destRect, int32_t color);

    int width_;
    int height_;
    std::vector<uint16_t> pixels_;
    bool hasColorKey_ = false;
    DDCOLORKEY colorKey_{};
    uint16_t foreColor_ = 0;
    bool isPrimary_ = false;
    std::shared_ptr<DirectDrawSurface7> backBuffer_;
};

using SurfacePtr = std::shared_ptr<DirectDrawSurface7>;

class DirectDraw7 {
  public:
    void SetCooperativeLevel(int64_t hwnd, int32_t flags);
    void SetDisplayMode(int32_t width, int32_t height, int32_t bpp, int32_t refreshRate,
                        int32_t flags);
    // With DDSCAPS_PRIMARYSURFACE in the caps: the 640 x 480 primary surface with one
    // attached back buffer. Otherwise an off-screen surface of the description's size.
    SurfacePtr CreateSurface(const DDSURFACEDESC2& desc);
    // An off-screen surface of the description's size filled from a BMP file (scaled to the
    // size when the picture has another one). Throws PlatformError naming the file.
    SurfacePtr CreateSurfaceFromFile(const std::string& path, const DDSURFACEDESC2& desc);
    void RestoreDisplayMode();
};

class DirectInputDevice7 {
  public:
    void SetCommonDataFormat(int32_t format);
    void SetCooperativeLevel(int64_t hwnd, int32_t flags);
    void Acquire();
    void Unacquire();
    // Fills the 256 key bytes; also pumps the window's events and shows any drawing made on the
    // primary surface since the last flip. Throws when the device is not acquired.
    void GetDeviceStateKeyboard(DIKEYBOARDSTATE& state);

  private:
    bool acquired_ = false;
};

class DirectInput7 {
  public:
    std::shared_ptr<DirectInputDevice7> CreateDevice(const std::string& guid);
};

class Mixer;

// A DirectSound-like static buffer holding an 8-bit mono sample. Play on a playing buffer keeps
// playing (the latest flags win); Stop keeps the position; the end of a one-shot play rewinds.
// Every state change happens under the mixer's lock, since the mixer runs on the audio thread.
class DirectSoundBuffer {
  public:
    // Created by DirectSound::CreateSoundBufferFromFile (and tests); mixed by the installed
    // host's mixer, or by none when no host is installed.
    DirectSoundBuffer(std::vector<uint8_t> samples, int32_t sampleRate, std::string name);
    // Mixed by `mixer` (nullptr: by none), for tests that drive a Mixer of their own.
    DirectSoundBuffer(std::vector<uint8_t> samples, int32_t sampleRate, std::string name,
                      Mixer* mixer);
    ~DirectSoundBuffer();
    DirectSoundBuffer(const DirectSoundBuffer&) = delete;
    DirectSoundBuffer& operator=(const DirectSoundBuffer&) = delete;
    void Play(int32_t flags);
    void Stop();
    void SetVolume(int32_t hundredthsOfDb);  // 0 .. -10000; gain 10^(v / 2000)
    // Playback rate in Hz, clamped to 100 .. 100000; 0 restores the sample's own rate.
    void SetFrequency(int32_t hz);

    // Observed state, for the mixer and the tests.
    const std::string& Name() const { return name_; }
    bool IsPlaying() const;
    bool IsLooping() const;
    int32_t Volume() const;
    int32_t Frequency() const;
    double Position() const;  // in samples
    int PlayCount() const;    // Play calls so far
    int StopCount() const;    // Stop calls so far
    const std::vector<uint8_t>& Samples() const { return samples_; }
    int32_t SampleRate() const { return sampleRate_; }

  private:
    friend class Mixer;
    // Holds the mixer's lock when there is a mixer.
    std::unique_lock<std::mutex> Guard() const;

    std::vector<uint8_t> samples_;
    int32_t sampleRate_;
    std::string name_;
    Mixer* mixer_ = nullptr;  // cleared by the mixer when it goes first
    int32_t volume_ = 0;
    int32_t frequency_;
    double position_ = 0.0;
    bool playing_ = false;
    bool looping_ = false;
    int playCount_ = 0;
    int stopCount_ = 0;
};

using SoundBufferPtr = std::shared_ptr<DirectSoundBuffer>;

class DirectSound {
  public:
    void SetCooperativeLevel(int64_t hwnd, int32_t flags);
    // A buffer filled from a PCM WAV file (8-bit mono expected; 16-bit and stereo are
    // converted), named by the file's name without its folder. Throws PlatformError naming
    // the file.
    SoundBufferPtr CreateSoundBufferFromFile(const std::string& path, const DSBUFFERDESC& desc,
                                             const WAVEFORMATEX& format);
};

class DirectX7 {
  public:
    std::shared_ptr<DirectDraw7> DirectDrawCreate(const std::string& driver);
    std::shared_ptr<DirectInput7> DirectInputCreate();
    std::shared_ptr<DirectSound> DirectSoundCreate(const std::string& device);
};

// ---- Windows services ---------------------------------------------------------------------

// Milliseconds of the system clock (virtual in the headless host); wraps like a 32-bit value.
uint32_t timeGetTime();
void ShowCursor(bool show);
// A message box with an OK button; the text also goes to standard error.
void MessageBox(const std::string& text);
// The directory holding the program (no trailing slash).
std::string ProgramDirectory();
// A uniform random number in [0, 1).
double Rnd();
// One pass of the window's message pump.
void DoEvents();
// How often the game's window has lost the keyboard focus since the program started; the level
// loop compares it frame by frame to pause when the player switches away.
uint32_t FocusLossCount();
// Ends the program at once with the given status (the headless host throws ProgramEnded).
[[noreturn]] void EndProgram(int status);
// Switches pixel work off for a run that only needs the game's state (the prover): blits, fills,
// lines and flips change no pixels and show nothing, and pictures and sounds are not read from
// their files (blank surfaces of the asked size, silent buffers). Everything else the calls do
// stays: flips still wait for the clock, sound buffers keep their play state.
void SetDryRun(bool on);
inline bool DryRun() {
    return detail::dryRun;
}
// The handle the game passes for its window; only a token here.
constexpr int64_t kGameWindow = 1;

}  // namespace dx
