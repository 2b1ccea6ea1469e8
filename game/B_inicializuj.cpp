// SPDX-License-Identifier: GPL-3.0-or-later
// DirectX start-up: display, keyboard, sound, every surface and sound buffer from the data
// files, and the new-game reset.
#include "B_inicializuj.h"

#include <exception>

#include "A_deklarace.h"
#include "D_sub.h"
#include "N_HI_Score.h"

namespace zorvik {

namespace {

const char* const kDirectDrawFailed =
    "Nepodařilo se inicializovat DirectDraw. Další možnost je nedostatek volné paměti RAM nebo "
    "nedostatek systémových prostředků";
const char* const kSurfacesFailed = "Nepodařilo se nahrát SURFACES";
const char* const kSoundsFailed = "Nepodařilo se nahrat zvukové vzorky";

// Set when one of the three messages was shown; Form_Load then stops the program.
bool startupFailed = false;

void ReportFailure(const char* message) {
    startupFailed = true;
    dx::MessageBox(message);
}

struct SurfaceFile {
    dx::SurfacePtr* global;
    const char* file;
    int32_t width;
    int32_t height;
};

// The picture surfaces in the order they are created.
const SurfaceFile kSurfaceFiles[] = {
    {&state.playerSheet, "/data/003.dat", 1944, 1109},
    {&state.tileSheet, "/data/001.dat", 730, 146},
    {&state.tileCanvas, "/data/002.dat", 804, 658},
    {&state.backgroundImage, "/data/004.dat", 640, 480},
    {&state.parallaxStrip, "/data/006.dat", 1638, 251},
    {&state.objectSheet, "/data/007.dat", 669, 319},
    {&state.enemySheet, "/data/008.dat", 1154, 363},
    {&state.fontSheet, "/data/009.dat", 360, 209},
    {&state.backdropSurface, "/data/010.dat", 640, 480},
};

// The single sound buffers, created after the star and crawl copies in this order.
struct SoundFile {
    dx::SoundBufferPtr* global;
    const char* file;
    int32_t volume;
};

constexpr int32_t kBufferFlags =
    dx::DSBCAPS_STATIC | dx::DSBCAPS_CTRLFREQUENCY | dx::DSBCAPS_CTRLPAN | dx::DSBCAPS_CTRLVOLUME;

dx::WAVEFORMATEX SampleFormat() {
    dx::WAVEFORMATEX format;
    format.nFormatTag = 1;  // PCM
    format.nChannels = 1;
    format.lSamplesPerSec = 11025;
    format.nBitsPerSample = 8;
    format.nBlockAlign = 1;
    format.lAvgBytesPerSec = format.nBlockAlign * format.lSamplesPerSec;
    return format;
}

}  // namespace

bool StartupFailed() {
    return startupFailed;
}

void InitDirectX() {
    startupFailed = false;
    try {
        if (!dx) dx = std::make_shared<dx::DirectX7>();
        directDraw = dx->DirectDrawCreate("");

        directInput = dx->DirectInputCreate();
        keyboard = directInput->CreateDevice("GUID_SysKeyboard");
        keyboard->SetCommonDataFormat(dx::DIFORMAT_KEYBOARD);
        keyboard->SetCooperativeLevel(dx::kGameWindow,
                                      dx::DISCL_NONEXCLUSIVE | dx::DISCL_BACKGROUND);
        keyboard->Acquire();

        directSound = dx->DirectSoundCreate("");
        directSound->SetCooperativeLevel(dx::kGameWindow, dx::DSSCL_PRIORITY);

        directDraw->SetCooperativeLevel(
            dx::kGameWindow, dx::DDSCL_FULLSCREEN | dx::DDSCL_EXCLUSIVE | dx::DDSCL_ALLOWMODEX);
        directDraw->SetDisplayMode(dx::kScreenWidth, dx::kScreenHeight, 16, 0, 0);

        primaryDesc.lFlags = dx::DDSD_CAPS | dx::DDSD_BACKBUFFERCOUNT;
        primaryDesc.lBackBufferCount = 1;
        primaryDesc.ddsCaps.lCaps =
            dx::DDSCAPS_PRIMARYSURFACE | dx::DDSCAPS_FLIP | dx::DDSCAPS_COMPLEX;
        primarySurface = directDraw->CreateSurface(primaryDesc);
        dx::DDSCAPS2 backCaps;
        backCaps.lCaps = dx::DDSCAPS_BACKBUFFER;
        backBuffer = primarySurface->GetAttachedSurface(backCaps);
        backBuffer->SetForeColor(dx::RGB(255, 0, 255));

        LoadSurfaces();
        LoadSounds();
        // A missing or garbled high-score file simply leaves the table empty: the first
        // entry writes a complete file, so it is no reason to stop the start-up. Test-play
        // neither reads nor writes the table.
        if (testLevelPath.empty()) LoadHiScores();
        ResetNewGame();
    } catch (const std::exception&) {
        ReportFailure(kDirectDrawFailed);
    }
}

void LoadSurfaces() {
    try {
        playerSheet.reset();
        tileSheet.reset();
        tileCanvas.reset();
        backgroundImage.reset();
        parallaxStrip.reset();

        dx::DDSURFACEDESC2 desc;
        desc.lFlags = dx::DDSD_CAPS | dx::DDSD_HEIGHT | dx::DDSD_WIDTH;
        desc.ddsCaps.lCaps = dx::DDSCAPS_OFFSCREENPLAIN;
        for (const SurfaceFile& row : kSurfaceFiles) {
            desc.lWidth = row.width;
            desc.lHeight = row.height;
            *row.global = directDraw->CreateSurfaceFromFile(GamePath(row.file), desc);
        }

        dx::DDCOLORKEY black;  // low 0, high 0: black pixels are left out of keyed blits
        for (dx::SurfacePtr* keyed : {&playerSheet, &tileCanvas, &parallaxStrip, &objectSheet,
                                      &enemySheet, &fontSheet, &backdropSurface}) {
            (*keyed)->SetColorKey(dx::DDCKEY_SRCBLT, black);
        }
    } catch (const std::exception&) {
        ReportFailure(kSurfacesFailed);
    }
}

void LoadSounds() {
    try {
        dx::DSBUFFERDESC desc;
        desc.lFlags = kBufferFlags;
        const dx::WAVEFORMATEX format = SampleFormat();
        const auto load = [&](const char* file) {
            return directSound->CreateSoundBufferFromFile(GamePath(file), desc, format);
        };

        for (size_t i = 0; i <= 5; ++i) {
            sounds019[i] = load("/data/019.dat");
        }
        const SoundFile before[] = {
            {&sound025, "/data/025.dat", -1000},
            {&sound026, "/data/026.dat", -1800},
            {&sound016, "/data/016.dat", -1100},
        };
        for (const SoundFile& row : before) {
            *row.global = load(row.file);
            (*row.global)->SetVolume(row.volume);
        }
        for (size_t i = 1; i <= 10; ++i) {
            sounds015[i] = load("/data/015.dat");
            sounds015[i]->SetVolume(-1000);
        }
        const SoundFile after[] = {
            {&sound020, "/data/020.dat", -1100}, {&sound022, "/data/022.dat", -500},
            {&sound027, "/data/027.dat", -1500}, {&sound013, "/data/013.dat", -200},
            {&sound014, "/data/014.dat", -200},  {&sound024, "/data/024.dat", -200},
            {&sound023, "/data/023.dat", -200},  {&sound017, "/data/017.dat", -200},
            {&sound018, "/data/018.dat", -20},   {&sound021, "/data/021.dat", -20},
            {&sound028, "/data/028.dat", -1000},
        };
        for (const SoundFile& row : after) {
            *row.global = load(row.file);
            (*row.global)->SetVolume(row.volume);
        }
    } catch (const std::exception&) {
        ReportFailure(kSoundsFailed);
    }
}

void ResetNewGame() {
    lives = 3;
    levelNumber = 1;
    levelWon = kFalse;
    gameLost = kFalse;
    playerCol = signpostCol;
    playerRow = signpostRow;
    playerOffsetX = 35;
    playerOffsetY = 40;
    StopPlayer();
    score = 0;
    extraLifeLevel = 0;
    textSkippable = kFalse;
    textSkipped = kFalse;
    keyDelay = 100;
}

}  // namespace zorvik
