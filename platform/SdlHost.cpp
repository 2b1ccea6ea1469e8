// SPDX-License-Identifier: GPL-3.0-or-later
// The SDL host: a fullscreen window (or a window, switched with Alt+Enter or F11) showing the
// 640 x 480 picture letterboxed, 60 Hz pacing on absolute deadlines, SDL's keyboard and game
// pads mapped to DirectInput scan codes and the mixer in SDL's audio callback.
#include "SdlHost.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <time.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <span>
#include <thread>
#include <vector>

#include "DataPaths.h"
#include "DirectX.h"
#include "Mixer.h"
#include "PadMapping.h"
#include "PresentLead.h"
#include "ScaledPicture.h"
#include "SdlDesktop.h"
#include "SdlGamepad.h"
#include "TimingTrace.h"

namespace dx {

namespace {

constexpr int kAudioRate = 44100;
constexpr int kFrameRate = 60;
// The most keyboard reads a frame that draws makes (the flying text reads once per glyph slot).
// A loop that goes on polling past its frame's due time waits for a key: no frame is due until
// one comes, and the clock starts afresh after it. Past two frames it also sleeps a little
// between reads so that it does not burn a core.
constexpr int kMostReadsOfADrawnFrame = 10;
// Falling further behind than this many frames restarts the clock instead of catching up.
constexpr Uint64 kMaxFramesBehind = 3;
// A wait sleeps until this close to its end and polls the clock for the rest: a sleep wakes
// some 70 microseconds late.
constexpr long kSpinUs = 100;
// SDL's wait for an event counts whole milliseconds and can return up to one late, so a wait
// watches for events only while this much or more is left, and then sleeps to its end.
constexpr long kEventWaitUs = 2200;

Uint64 CounterOfUs(int64_t us) {
    return static_cast<Uint64>(us) * SDL_GetPerformanceFrequency() / 1000000;
}

long UsOfCounter(Uint64 span) {
    return static_cast<long>(span * 1000000 / SDL_GetPerformanceFrequency());
}

// How many microseconds ago the window system stamped the key event in msg, or -1 when it
// carries none. The X server stamps each input event with the milliseconds of this machine's
// monotonic clock when it happened, so the stamp holds even when the game took the event late
// (it was busy handing over a picture).
long long AgeOfWindowSystemKeyStamp(const SDL_SysWMmsg* msg) {
#if defined(SDL_VIDEO_DRIVER_X11)
    if (msg == nullptr || msg->subsystem != SDL_SYSWM_X11) return -1;
    const XEvent& event = msg->msg.x11.event;
    if (event.type != KeyPress && event.type != KeyRelease) return -1;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return TimingTrace::AgeOfMillisecondStamp(
        static_cast<uint32_t>(event.xkey.time),
        static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000);
#else
    (void)msg;
    return -1;
#endif
}

// SDL scan code -> DirectInput scan code (set-1 code, +0x80 for the extended keys).
struct KeyPair {
    SDL_Scancode sdl;
    int dik;
};

constexpr KeyPair kKeyPairs[] = {
    {SDL_SCANCODE_ESCAPE, 1},
    {SDL_SCANCODE_1, 2},
    {SDL_SCANCODE_2, 3},
    {SDL_SCANCODE_3, 4},
    {SDL_SCANCODE_4, 5},
    {SDL_SCANCODE_5, 6},
    {SDL_SCANCODE_6, 7},
    {SDL_SCANCODE_7, 8},
    {SDL_SCANCODE_8, 9},
    {SDL_SCANCODE_9, 10},
    {SDL_SCANCODE_0, 11},
    {SDL_SCANCODE_MINUS, 12},
    {SDL_SCANCODE_EQUALS, 13},
    {SDL_SCANCODE_BACKSPACE, 14},
    {SDL_SCANCODE_TAB, 15},
    {SDL_SCANCODE_Q, 16},
    {SDL_SCANCODE_W, 17},
    {SDL_SCANCODE_E, 18},
    {SDL_SCANCODE_R, 19},
    {SDL_SCANCODE_T, 20},
    {SDL_SCANCODE_Y, 21},
    {SDL_SCANCODE_U, 22},
    {SDL_SCANCODE_I, 23},
    {SDL_SCANCODE_O, 24},
    {SDL_SCANCODE_P, 25},
    {SDL_SCANCODE_LEFTBRACKET, 26},
    {SDL_SCANCODE_RIGHTBRACKET, 27},
    {SDL_SCANCODE_RETURN, 28},
    {SDL_SCANCODE_LCTRL, 29},
    {SDL_SCANCODE_A, 30},
    {SDL_SCANCODE_S, 31},
    {SDL_SCANCODE_D, 32},
    {SDL_SCANCODE_F, 33},
    {SDL_SCANCODE_G, 34},
    {SDL_SCANCODE_H, 35},
    {SDL_SCANCODE_J, 36},
    {SDL_SCANCODE_K, 37},
    {SDL_SCANCODE_L, 38},
    {SDL_SCANCODE_SEMICOLON, 39},
    {SDL_SCANCODE_APOSTROPHE, 40},
    {SDL_SCANCODE_GRAVE, 41},
    {SDL_SCANCODE_LSHIFT, 42},
    {SDL_SCANCODE_BACKSLASH, 43},
    {SDL_SCANCODE_Z, 44},
    {SDL_SCANCODE_X, 45},
    {SDL_SCANCODE_C, 46},
    {SDL_SCANCODE_V, 47},
    {SDL_SCANCODE_B, 48},
    {SDL_SCANCODE_N, 49},
    {SDL_SCANCODE_M, 50},
    {SDL_SCANCODE_COMMA, 51},
    {SDL_SCANCODE_PERIOD, 52},
    {SDL_SCANCODE_SLASH, 53},
    {SDL_SCANCODE_RSHIFT, 54},
    {SDL_SCANCODE_KP_MULTIPLY, 55},
    {SDL_SCANCODE_LALT, 56},
    {SDL_SCANCODE_SPACE, 57},
    {SDL_SCANCODE_CAPSLOCK, 58},
    {SDL_SCANCODE_F1, 59},
    {SDL_SCANCODE_F2, 60},
    {SDL_SCANCODE_F3, 61},
    {SDL_SCANCODE_F4, 62},
    {SDL_SCANCODE_F5, 63},
    {SDL_SCANCODE_F6, 64},
    {SDL_SCANCODE_F7, 65},
    {SDL_SCANCODE_F8, 66},
    {SDL_SCANCODE_F9, 67},
    {SDL_SCANCODE_F10, 68},
    {SDL_SCANCODE_NUMLOCKCLEAR, 69},
    {SDL_SCANCODE_SCROLLLOCK, 70},
    {SDL_SCANCODE_KP_7, 71},
    {SDL_SCANCODE_KP_8, 72},
    {SDL_SCANCODE_KP_9, 73},
    {SDL_SCANCODE_KP_MINUS, 74},
    {SDL_SCANCODE_KP_4, 75},
    {SDL_SCANCODE_KP_5, 76},
    {SDL_SCANCODE_KP_6, 77},
    {SDL_SCANCODE_KP_PLUS, 78},
    {SDL_SCANCODE_KP_1, 79},
    {SDL_SCANCODE_KP_2, 80},
    {SDL_SCANCODE_KP_3, 81},
    {SDL_SCANCODE_KP_0, 82},
    {SDL_SCANCODE_KP_PERIOD, 83},
    {SDL_SCANCODE_NONUSBACKSLASH, 86},
    {SDL_SCANCODE_F11, 87},
    {SDL_SCANCODE_F12, 88},
    {SDL_SCANCODE_KP_EQUALS, 141},
    {SDL_SCANCODE_KP_ENTER, 156},
    {SDL_SCANCODE_RCTRL, 157},
    {SDL_SCANCODE_KP_DIVIDE, 181},
    {SDL_SCANCODE_PRINTSCREEN, 183},
    {SDL_SCANCODE_RALT, 184},
    {SDL_SCANCODE_PAUSE, 197},
    {SDL_SCANCODE_HOME, 199},
    {SDL_SCANCODE_UP, 200},
    {SDL_SCANCODE_PAGEUP, 201},
    {SDL_SCANCODE_LEFT, 203},
    {SDL_SCANCODE_RIGHT, 205},
    {SDL_SCANCODE_END, 207},
    {SDL_SCANCODE_DOWN, 208},
    {SDL_SCANCODE_PAGEDOWN, 209},
    {SDL_SCANCODE_INSERT, 210},
    {SDL_SCANCODE_DELETE, 211},
    {SDL_SCANCODE_LGUI, 219},
    {SDL_SCANCODE_RGUI, 220},
    {SDL_SCANCODE_APPLICATION, 221},
};

constexpr std::array<int16_t, SDL_NUM_SCANCODES> MakeKeyTable() {
    std::array<int16_t, SDL_NUM_SCANCODES> table{};
    for (auto& dik : table)
        dik = -1;
    for (const KeyPair& pair : kKeyPairs)
        table[pair.sdl] = static_cast<int16_t>(pair.dik);
    return table;
}

constexpr std::array<int16_t, SDL_NUM_SCANCODES> kDikOfScancode = MakeKeyTable();

// SDL draws into memory when no window system answers (and SDL_VIDEODRIVER does not name
// one): the game would then run unseen until killed. Only a driver asked for by name may do so.
bool DisplayMissing() {
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    if (chosen != nullptr && *chosen != '\0') return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
           std::strcmp(driver, "dummy") == 0;
}

bool WindowedRequested() {
    const char* value = std::getenv("ZORVIK_WINDOWED");
    return value != nullptr && *value != '\0' && std::strcmp(value, "0") != 0;
}

// ZORVIK_HOLD_KEYS: SDL key names separated by commas (e.g. "Space"), reported as held down on
// every keyboard read. Lets scripts start the game past its "press Space" cards with no
// display and no one at the keyboard; unset, nothing changes.
std::vector<int> HeldKeysRequested() {
    std::vector<int> diks;
    const char* value = std::getenv("ZORVIK_HOLD_KEYS");
    if (value == nullptr) return diks;
    const std::string names = value;
    size_t start = 0;
    while (start <= names.size()) {
        size_t end = names.find(',', start);
        if (end == std::string::npos) end = names.size();
        const std::string name = names.substr(start, end - start);
        const SDL_Scancode scancode = SDL_GetScancodeFromName(name.c_str());
        if (scancode > SDL_SCANCODE_UNKNOWN && scancode < SDL_NUM_SCANCODES &&
            kDikOfScancode[static_cast<size_t>(scancode)] >= 0) {
            diks.push_back(kDikOfScancode[static_cast<size_t>(scancode)]);
        } else if (!name.empty()) {
            std::fprintf(stderr, "Zorvik: ZORVIK_HOLD_KEYS: unknown key '%s'\n", name.c_str());
        }
        start = end + 1;
    }
    return diks;
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Whether the renderer draws through OpenGL run on the processor (Mesa's llvmpipe or softpipe:
// virtual machines, remote desktops, Xvfb). The renderer's context is current once it is made.
bool DrawsWithSoftwareGl(SDL_Renderer* renderer) {
    SDL_RendererInfo info{};
    if (SDL_GetRendererInfo(renderer, &info) != 0 || info.name == nullptr ||
        std::strncmp(info.name, "opengl", 6) != 0) {
        return false;
    }
    using GetString = const unsigned char* (*)(unsigned int);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    if (getString == nullptr) return false;
    constexpr unsigned int kGlRenderer = 0x1F01;
    const auto* name = reinterpret_cast<const char*>(getString(kGlRenderer));
    if (name == nullptr) return false;
    for (const char* software : {"llvmpipe", "softpipe", "Software Rasterizer"}) {
        if (std::strstr(name, software) != nullptr) return true;
    }
    return false;
}

// Whether SDL's video driver gives a window pixels of its own (shared memory on X11); others
// (Wayland, KMS) would show them through OpenGL again.
bool HasWindowPixelsOfItsOwn() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr &&
           (std::strcmp(driver, "x11") == 0 || std::strcmp(driver, "offscreen") == 0);
}

void AudioCallback(void* userdata, Uint8* stream, int len) {
    static_cast<Mixer*>(userdata)->Render(reinterpret_cast<int16_t*>(stream),
                                          len / static_cast<int>(sizeof(int16_t)));
}

class SdlHost final : public Host {
  public:
    SdlHost(const std::string& argv0, bool windowed);
    ~SdlHost() override { Shutdown(); }
    SdlHost(const SdlHost&) = delete;
    SdlHost& operator=(const SdlHost&) = delete;

    void Present(const uint16_t* pixels) override;
    void WaitForFrame() override;
    uint32_t NowMs() override { return static_cast<uint32_t>(SDL_GetTicks64()); }
    void PumpEvents() override;
    void ReadKeyboard(uint8_t keys[256], int readsSinceFlip) override;
    void ShowMessage(const std::string& text) override;
    void ShowCursor(bool show) override { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }
    void SetDisplayMode(int width, int height) override;
    void RestoreDisplayMode() override;
    [[noreturn]] void EndProgram(int status) override;
    double Random() override;
    std::string ProgramDirectory() override { return programDirectory_; }
    Mixer& GetMixer() override { return mixer_; }
    uint32_t FocusLossCount() override { return focusLosses_; }

  private:
    void WaitUntil(Uint64 time);
    void TakeEvents();
    void OpenAudio();
    void CreateRenderer();
    void DrawToWindowSurface();
    void Redraw();
    void RedrawWindowSurface();
    void HandleQuitRequest();
    void HandleKeyDown(const SDL_KeyboardEvent& key);
    void ToggleFullscreen();
    void Shutdown();

    Mixer mixer_{kAudioRate};
    std::mt19937 rng_;
    std::string programDirectory_;
    bool windowed_ = false;
    SDL_Window* window_ = nullptr;
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    // Where OpenGL is drawn by the processor, the picture goes straight into the window's own
    // pixels instead of through a renderer: the last picture, each RGB565 colour's window pixel,
    // the size of the window's pixels last drawn, and whether the whole window (bars too) is to
    // be handed over at the next redraw.
    bool drawsToSurface_ = false;
    std::vector<uint16_t> picture_;
    std::unique_ptr<ColourTable> colours_;
    int surfaceWidth_ = 0;
    int surfaceHeight_ = 0;
    bool wholeSurface_ = true;
    SDL_AudioDeviceID audio_ = 0;
    bool shown_ = false;
    bool sdlUp_ = false;
    bool quitting_ = false;
    Uint64 clockBase_ = 0;  // performance-counter time of frame 0
    Uint64 framesSinceBase_ = 0;
    Uint64 frameDue_ = 0;      // when the frame being drawn is due on screen
    Uint64 presentAt_ = 0;     // when Present hands it over; 0 (after a fresh start): at once
    Uint64 lastFrameEnd_ = 0;  // performance-counter time WaitForFrame last returned
    bool ticked_ = false;      // WaitForFrame returned since the last Present
    bool waiting_ = false;     // polling past the frame's due time: waiting for a key
    PresentLead lead_;
    long frameLeadUs_ = 0;            // the lead the frame being drawn was ticked with
    std::vector<SDL_Event> pending_;  // taken from SDL while waiting, handled by PumpEvents
    std::unique_ptr<TimingTrace> trace_ = TimingTrace::FromEnvironment();
    uint32_t focusLosses_ = 0;
    SdlGamepads pads_;
    PadModeTracker padMode_;
    std::vector<int> heldKeys_;
    // The key that switched the window (Enter of Alt+Enter, F11) reads as up until released, so
    // the switch does not also choose a menu item.
    SDL_Scancode toggleKey_ = SDL_SCANCODE_UNKNOWN;
};

SdlHost::SdlHost(const std::string& argv0, bool windowed)
    : rng_(static_cast<std::mt19937::result_type>(
          std::chrono::system_clock::now().time_since_epoch().count())),
      windowed_(windowed || WindowedRequested()),
      heldKeys_(HeldKeysRequested()) {
    std::string executableDirectory;
    if (char* base = SDL_GetBasePath()) {
        executableDirectory = base;
        SDL_free(base);
        while (executableDirectory.size() > 1 && executableDirectory.back() == '/') {
            executableDirectory.pop_back();
        }
    } else {
        executableDirectory = DirectoryOf(argv0);
    }
    // Beside the program in the build's game folder, ../share/zorvik when installed.
    programDirectory_ = zorvik::paths::FindDataDirectory(executableDirectory);

    NameTheGameForTheDesktop();
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER) != 0) {
        throw PlatformError(std::string("SDL_Init: ") + SDL_GetError());
    }
    sdlUp_ = true;
    if (DisplayMissing()) {
        Shutdown();
        throw PlatformError("nenalezen zadny displej (zkontrolujte DISPLAY nebo WAYLAND_DISPLAY)");
    }
    if (trace_) SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);  // the window system's key stamps
    if (windowed_) {
        window_ = SDL_CreateWindow("Zorvik", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                   kScreenWidth, kScreenHeight, SDL_WINDOW_RESIZABLE);
    } else {
        // Created at the desktop's size as well, so the window covers the screen even where
        // no window manager acts on the fullscreen request.
        SDL_Rect desktop{0, 0, kScreenWidth, kScreenHeight};
        SDL_GetDisplayBounds(0, &desktop);
        window_ = SDL_CreateWindow("Zorvik", desktop.x, desktop.y, desktop.w, desktop.h,
                                   SDL_WINDOW_FULLSCREEN_DESKTOP | SDL_WINDOW_BORDERLESS);
    }
    if (window_ == nullptr) {
        const std::string error = SDL_GetError();
        Shutdown();
        throw PlatformError("SDL_CreateWindow: " + error);
    }
    SetGameWindowIcon(window_);
    CreateRenderer();
    if (DrawsWithSoftwareGl(renderer_) && HasWindowPixelsOfItsOwn()) DrawToWindowSurface();
    shown_ = true;
    Redraw();
    OpenAudio();
    pads_.Open();
}

void SdlHost::OpenAudio() {
    // No audio device is not an error: the game then plays silently.
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    SDL_AudioSpec want{};
    want.freq = kAudioRate;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = 1024;
    want.callback = AudioCallback;
    want.userdata = &mixer_;
    SDL_AudioSpec have{};
    // No allowed changes: SDL converts to the device's own format behind the callback.
    audio_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (audio_ != 0) SDL_PauseAudioDevice(audio_, 0);
}

// The first renderer SDL offers (a GPU's, or SDL's software one where there is none) and the
// texture the picture is handed over in.
void SdlHost::CreateRenderer() {
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
    if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_ != nullptr) {
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING,
                                     kScreenWidth, kScreenHeight);
    }
    if (renderer_ == nullptr || texture_ == nullptr) {
        const std::string error = SDL_GetError();
        Shutdown();
        throw PlatformError("SDL_CreateRenderer: " + error);
    }
    // Scales the picture with its aspect kept; SDL centres it between black bars.
    SDL_RenderSetLogicalSize(renderer_, kScreenWidth, kScreenHeight);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
}

// Where OpenGL runs on the processor, its shaders cost 3-4 ms a frame at 640 x 480 and about
// 8 ms at 1920 x 1080; scaling the picture into the window's own pixels and handing those over
// (shared memory on X11) takes about a millisecond and two. Keeps the renderer where the
// window has no 32-bit pixels of its own.
void SdlHost::DrawToWindowSurface() {
    SDL_DestroyTexture(texture_);
    SDL_DestroyRenderer(renderer_);
    texture_ = nullptr;
    renderer_ = nullptr;
    // The window's own pixels, not a texture SDL would show through OpenGL again.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    const SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (surface == nullptr || surface->format->BytesPerPixel != 4) {
        CreateRenderer();
        return;
    }
    colours_ = std::make_unique<ColourTable>();
    FillColourTable(*colours_, [format = surface->format](uint8_t r, uint8_t g, uint8_t b) {
        return SDL_MapRGB(format, r, g, b);
    });
    picture_.assign(static_cast<size_t>(kScreenWidth) * kScreenHeight, 0);
    drawsToSurface_ = true;
    wholeSurface_ = true;
}

void SdlHost::RedrawWindowSurface() {
    SDL_Surface* surface = SDL_GetWindowSurface(window_);  // made anew after a resize
    if (surface == nullptr || surface->format->BytesPerPixel != 4) return;
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
    if (surface->w != surfaceWidth_ || surface->h != surfaceHeight_) {
        surfaceWidth_ = surface->w;
        surfaceHeight_ = surface->h;
        wholeSurface_ = true;
    }
    if (wholeSurface_) SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    const PictureRect rect = LetterboxRect(surface->w, surface->h);
    DrawScaledPicture(picture_.data(), *colours_, static_cast<uint32_t*>(surface->pixels),
                      surface->pitch / 4, rect);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    if (wholeSurface_) {
        SDL_UpdateWindowSurface(window_);
    } else {
        const SDL_Rect changed{rect.x, rect.y, rect.w, rect.h};
        SDL_UpdateWindowSurfaceRects(window_, &changed, 1);
    }
    wholeSurface_ = false;
}

void SdlHost::Redraw() {
    if (!shown_) return;
    if (drawsToSurface_) {
        RedrawWindowSurface();
        return;
    }
    if (renderer_ == nullptr) return;
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, nullptr);
    SDL_RenderPresent(renderer_);
}

// Returns at the given performance-counter time (at once if it has passed), asleep until just
// before it. With the timing trace on, the sleep wakes for the window system's events, so that
// a key is traced when it arrives rather than at the next frame's pump; the game still sees it
// at its next keyboard read, as without the trace.
void SdlHost::WaitUntil(Uint64 time) {
    for (Uint64 now = SDL_GetPerformanceCounter(); now < time; now = SDL_GetPerformanceCounter()) {
        const long leftUs = UsOfCounter(time - now);
        if (trace_ && leftUs >= kEventWaitUs) {
            const int timeoutMs = static_cast<int>((leftUs - kEventWaitUs) / 1000 + 1);
            if (SDL_WaitEventTimeout(nullptr, timeoutMs) == 1) TakeEvents();
        } else if (leftUs > kSpinUs) {
            std::this_thread::sleep_for(std::chrono::microseconds(leftUs - kSpinUs));
        }
    }
}

void SdlHost::TakeEvents() {
    SDL_PumpEvents();
    SDL_Event events[32];
    int count = 0;
    // With the trace on, SDL passes on the window system's own form of each event just before
    // SDL's: its stamp belongs to the key event that follows it.
    long long stampAgeUs = -1;
    while ((count = SDL_PeepEvents(events, 32, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT)) > 0) {
        for (const SDL_Event& event : std::span(events, static_cast<size_t>(count))) {
            if (event.type == SDL_SYSWMEVENT) {
                stampAgeUs = AgeOfWindowSystemKeyStamp(event.syswm.msg);
                continue;
            }
            if (trace_ && (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) &&
                event.key.repeat == 0) {
                const int dik = kDikOfScancode[static_cast<size_t>(event.key.keysym.scancode)];
                if (dik >= 0) trace_->Key(dik, event.type == SDL_KEYDOWN, stampAgeUs);
            }
            stampAgeUs = -1;
            pending_.push_back(event);
        }
    }
}

void SdlHost::Present(const uint16_t* pixels) {
    if (texture_ == nullptr && !drawsToSurface_) return;
    if (trace_) trace_->FlipAsked();
    if (drawsToSurface_) {
        std::copy_n(pixels, picture_.size(), picture_.begin());
    } else {
        SDL_UpdateTexture(texture_, nullptr, pixels,
                          kScreenWidth * static_cast<int>(sizeof(uint16_t)));
    }
    const Uint64 ready = SDL_GetPerformanceCounter();
    const Uint64 handOverAt = presentAt_;
    presentAt_ = 0;
    WaitUntil(handOverAt);
    const Uint64 handOverStart = SDL_GetPerformanceCounter();
    Redraw();
    const Uint64 handedOver = SDL_GetPerformanceCounter();
    // After a wait for a key no frame was due, and the wait is no part of the frame's work.
    const bool waited = waiting_;
    lead_.Record(ticked_ && !waited ? UsOfCounter(ready - lastFrameEnd_) : -1,
                 UsOfCounter(handedOver - handOverStart));
    ticked_ = false;
    if (trace_) {
        const Uint64 late = handOverAt != 0 && handedOver > frameDue_ ? handedOver - frameDue_ : 0;
        trace_->Flip(waited ? 0 : UsOfCounter(late), waited,
                     UsOfCounter(handedOver - handOverStart), frameLeadUs_);
    }
}

void SdlHost::WaitForFrame() {
    // Absolute deadlines on the performance counter, so the rate stays 60 Hz on average
    // whatever the monitor's refresh; vsync is not relied on. The next frame ticks its lead
    // before its deadline, enough for the work and the hand-over of recent frames, and Present
    // holds its picture so that the hand-over ends on the deadline.
    const Uint64 frequency = SDL_GetPerformanceFrequency();
    const Uint64 now = SDL_GetPerformanceCounter();
    if (clockBase_ == 0) clockBase_ = now;
    ++framesSinceBase_;
    const Uint64 deadline = clockBase_ + framesSinceBase_ * frequency / kFrameRate;
    const bool waited = waiting_;
    waiting_ = false;
    if (waited || now > deadline + kMaxFramesBehind * frequency / kFrameRate) {
        // After a wait for a key no frame was due, and far behind (a stall, a message box)
        // frames cannot be caught up evenly: start a new clock rather than rush frames, and
        // show the next picture as soon as it is drawn.
        clockBase_ = now;
        framesSinceBase_ = 0;
        frameDue_ = now + frequency / kFrameRate;
        presentAt_ = 0;
        frameLeadUs_ = 0;
    } else {
        frameLeadUs_ = static_cast<long>(lead_.LeadUs());
        const Uint64 lead = CounterOfUs(frameLeadUs_);
        const Uint64 handOver = CounterOfUs(lead_.HandOverUs());
        WaitUntil(deadline > lead ? deadline - lead : 0);
        frameDue_ = deadline;
        presentAt_ = deadline > handOver ? deadline - handOver : 1;
    }
    lastFrameEnd_ = SDL_GetPerformanceCounter();
    ticked_ = true;
    if (trace_) trace_->FrameStart();
    PumpEvents();
}

void SdlHost::PumpEvents() {
    TakeEvents();
    std::vector<SDL_Event> events;
    events.swap(pending_);  // what is handled here may pump again
    bool quit = false;
    for (const SDL_Event& event : events) {
        if (event.type == SDL_QUIT) {
            quit = true;  // the close button, or SIGINT/SIGTERM through SDL's handler
        } else if (event.type == SDL_WINDOWEVENT &&
                   (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                    event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)) {
            wholeSurface_ = true;  // the bars too
            Redraw();
        } else if (event.type == SDL_WINDOWEVENT &&
                   event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
            ++focusLosses_;
        } else if (event.type == SDL_KEYDOWN) {
            HandleKeyDown(event.key);
        } else {
            pads_.HandleEvent(event);
        }
    }
    if (quit) HandleQuitRequest();
}

void SdlHost::HandleKeyDown(const SDL_KeyboardEvent& key) {
    if (key.repeat != 0) return;
    const SDL_Scancode code = key.keysym.scancode;
    const bool altEnter = (code == SDL_SCANCODE_RETURN || code == SDL_SCANCODE_KP_ENTER) &&
                          (key.keysym.mod & KMOD_ALT) != 0;
    if (!altEnter && code != SDL_SCANCODE_F11) return;
    toggleKey_ = code;
    ToggleFullscreen();
}

void SdlHost::ToggleFullscreen() {
    if (window_ == nullptr) return;
    windowed_ = !windowed_;
    if (!shown_) return;  // SetDisplayMode shows the window in the chosen form
    if (windowed_) {
        SDL_SetWindowFullscreen(window_, 0);
        SDL_SetWindowBordered(window_, SDL_TRUE);
        SDL_SetWindowResizable(window_, SDL_TRUE);
        SDL_SetWindowSize(window_, kScreenWidth, kScreenHeight);
        SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    } else {
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    Redraw();  // the logical size keeps the picture letterboxed in either form
}

void SdlHost::HandleQuitRequest() {
    if (quitting_) return;  // the exit path itself may pump events
    quitting_ = true;
    if (onQuitRequest) {
        onQuitRequest();
        quitting_ = false;  // the game chose to carry on
        return;
    }
    RestoreDisplayMode();
    EndProgram(0);
}

void SdlHost::ReadKeyboard(uint8_t keys[256], int readsSinceFlip) {
    PumpEvents();
    std::memset(keys, 0, 256);
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    if (toggleKey_ != SDL_SCANCODE_UNKNOWN && toggleKey_ < count && state[toggleKey_] == 0) {
        toggleKey_ = SDL_SCANCODE_UNKNOWN;
    }
    for (int scancode = 0; scancode < count && scancode < SDL_NUM_SCANCODES; ++scancode) {
        const int dik = kDikOfScancode[static_cast<size_t>(scancode)];
        if (state[scancode] && dik >= 0 && scancode != toggleKey_) keys[dik] = 0x80;
    }
    for (const int dik : heldKeys_)
        keys[dik] = 0x80;
    AddPadKeys(pads_.Read(), padMode_.OnKeyboardRead(readsSinceFlip), keys);
    if (trace_) trace_->Read();
    if (readsSinceFlip > kMostReadsOfADrawnFrame) {
        const Uint64 now = SDL_GetPerformanceCounter();
        if (!waiting_ && now > frameDue_) {
            waiting_ = true;
            if (trace_) trace_->Wait();
        }
        if (waiting_ && now - lastFrameEnd_ > 2 * SDL_GetPerformanceFrequency() / kFrameRate) {
            SDL_Delay(1);
        }
    }
}

void SdlHost::ShowMessage(const std::string& text) {
    // The text already went to standard error, so a failing box loses nothing.
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, "Zorvik", text.c_str(),
                             shown_ ? window_ : nullptr);
}

void SdlHost::SetDisplayMode(int width, int height) {
    (void)width;
    (void)height;  // the picture is always 640 x 480, scaled to the desktop
    if (window_ == nullptr || shown_) return;
    SDL_ShowWindow(window_);
    if (!windowed_) SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_RaiseWindow(window_);
    shown_ = true;
    Redraw();
}

void SdlHost::RestoreDisplayMode() {
    if (window_ == nullptr || !shown_) return;
    SDL_SetWindowFullscreen(window_, 0);
    SDL_HideWindow(window_);
    shown_ = false;
    SDL_PumpEvents();  // lets the window system act on it now
}

void SdlHost::Shutdown() {
    pads_.Close();
    if (audio_ != 0) {
        SDL_CloseAudioDevice(audio_);  // stops the callback before the mixer goes
        audio_ = 0;
    }
    if (texture_ != nullptr) SDL_DestroyTexture(texture_);
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    texture_ = nullptr;
    renderer_ = nullptr;
    window_ = nullptr;
    shown_ = false;
    if (sdlUp_) SDL_Quit();
    sdlUp_ = false;
}

void SdlHost::EndProgram(int status) {
    trace_.reset();
    std::fflush(nullptr);
    Shutdown();
    std::exit(status);
}

double SdlHost::Random() {
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    const double value = uniform(rng_);
    // Some standard libraries can round up to exactly 1.0.
    return value < 1.0 ? value : std::nextafter(1.0, 0.0);
}

}  // namespace

std::unique_ptr<Host> CreateSdlHost(const std::string& argv0, bool windowed) {
    return std::make_unique<SdlHost>(argv0, windowed);
}

int DikFromSdlKeyName(const char* keyName) {
    if (keyName == nullptr) return -1;
    const SDL_Scancode scancode = SDL_GetScancodeFromName(keyName);
    if (scancode <= SDL_SCANCODE_UNKNOWN || scancode >= SDL_NUM_SCANCODES) return -1;
    return kDikOfScancode[static_cast<size_t>(scancode)];
}

}  // namespace dx
