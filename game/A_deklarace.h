// SPDX-License-Identifier: GPL-3.0-or-later
// The game's shared state: every global of the game, with its type and program-start value,
// grouped by subject. All of it lives in one record so that ResetGlobals() can restore the
// program-start values; the names below refer to its fields.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>

#include "DirectX.h"

namespace zorvik {

// Flags hold 0 (false) or -1 (true).
constexpr int16_t kTrue = -1;
constexpr int16_t kFalse = 0;

// Map arrays: columns 0..53 and rows 0..21, stored row by row; a cell is 73 x 73 pixels.
constexpr int kMapCols = 54;
constexpr int kMapRows = 22;
constexpr int kCell = 73;

template <typename T>
class MapGrid {
  public:
    T& operator()(int col, int row) { return cells_[Index(col, row)]; }
    const T& operator()(int col, int row) const { return cells_[Index(col, row)]; }
    void Fill(T value) { cells_.fill(value); }
    // Every cell, row by row (for hashing and comparing whole layers).
    const std::array<T, kMapCols * kMapRows>& Cells() const { return cells_; }
    bool operator==(const MapGrid&) const = default;

  private:
    static size_t Index(int col, int row) {
        // A read or write outside the map arrays is a fault of the caller, never memory damage.
        if (col < 0 || col >= kMapCols || row < 0 || row >= kMapRows) [[unlikely]] {
            ThrowOutside(col, row);
        }
        return static_cast<size_t>(row) * kMapCols + static_cast<size_t>(col);
    }
    // Kept out of line so the check above stays small enough to inline in every cell access.
    [[noreturn, gnu::cold, gnu::noinline]] static void ThrowOutside(int col, int row) {
        throw std::out_of_range("map cell (" + std::to_string(col) + ", " + std::to_string(row) +
                                ") outside the map arrays");
    }
    std::array<T, kMapCols * kMapRows> cells_{};
};

// A board's bar height when its gate is closed and when it is open; it moves two pixels a frame.
constexpr int16_t kBoardClosedHeight = 219;
constexpr int16_t kBoardOpenHeight = 1;

// A gate three cells high standing on a board housing (tile 18).
struct Board {
    int16_t height = 0;        // visible bar height 1..219; 219 closed, 1 open
    int16_t direction = 0;     // -1 sinking, 0 at rest, +1 rising
    int16_t column = 0;        // map column of the housing and the gate
    int16_t topRow = 0;        // highest of the three gate rows
    int16_t openRequest = 0;   // flag set by a pressed platform
    int16_t closeRequest = 0;  // flag set by a released platform and by the loader
    int16_t gearFrame = 0;     // 0..5
};

struct Stone {
    int16_t offsetX = 0;  // x inside the cell; 35 centred
    int16_t offsetY = 0;  // y of the top inside the cell; 58 resting
    int16_t stepX = 0;    // -1, 0, +1 pixels per frame
    int16_t stepY = 0;    // 0, or 6 while falling
    int16_t heading = 0;  // last horizontal direction
    int16_t column = 0;
    int16_t row = 0;
    dx::RECT sourceRect;   // current picture in objectSheet
    int16_t rollLeft = 0;  // pixels still to roll
    int16_t falling = 0;   // flag
    int16_t frame = 0;     // rotation frame 0..14
    int16_t frameTick = 0;
};

struct FlexEnemy {
    int16_t col = 0;      // column of the cell anchoring the picture
    int16_t row = 0;      // row it moves in
    int16_t xInCell = 0;  // anchor x inside the cell
    int16_t yOffset = 0;  // picture y inside the row
    double worldX = 0.0;  // world x of the body
    int16_t frame = 0;    // 0..9
    int16_t dir = 0;      // +1 right, -1 left
    int16_t tick = 0;     // 0..period-1
    int16_t period = 0;   // frames per step, 3..7
};

struct FigureEnemy {
    int16_t col = 0;
    int16_t row = 0;
    int16_t xInCell = 0;
    int16_t worldX = 0;
    int16_t yOffset = 0;
    int16_t dir = 0;
    int16_t lastDir = 0;
    int16_t frame = 0;
    int16_t tick = 0;
    int16_t state = 0;  // 1 walking, 2 standing
    int16_t alive = 0;  // flag
};

// One character in flight of the bitmap text.
struct GlyphSlot {
    double x = 0.0;
    double y = 0.0;
    double dx = 0.0;
    double dy = 0.0;
    dx::RECT source;
    int16_t counter = 0;
    int16_t active = 0;
    int16_t hasMark = 0;
};

// Everything the game's rules read and write while it runs, as plain values: the input latches,
// the player, lives and score, the level with its objects, the camera and the timing of text.
// It holds no pointer, so a copy of it is a snapshot of the game (the prover branches on such
// copies).
struct PlayState {
    // ---- input ----
    dx::DIKEYBOARDSTATE keyState;
    int16_t keyDelay = 0;
    int16_t keyLeftLatch = 0, keyRightLatch = 0, keyUpLatch = 0, keyCtrlLatch = 0,
            keyShiftLatch = 0;
    int16_t inputBlocked = 0;

    // ---- player ----
    int16_t playerCol = 0, playerRow = 0;
    double playerOffsetX = 0.0, playerOffsetY = 0.0;
    uint8_t playerFacing = 0;  // 1 left, 2 right
    uint8_t playerState = 0;   // 0 standing, 1 moving right, 3 moving left
    uint8_t playerNextState = 0;
    int16_t playerBusy = 0;
    int16_t playerFrame = 0;
    int16_t playerFrameEnd = 0, playerFrameStep = 0;
    dx::RECT playerSrcRect;
    int16_t playerDrawOffsetX = 0, playerDrawOffsetY = 0;
    double playerSpeedX = 0.0, playerSpeedY = 0.0;
    int16_t playerJumping = 0;
    double jumpAngle = 0.0, jumpAngleStep = 0.0;
    int16_t jumpHeight = 0;
    int16_t playerFalling = 0;
    int16_t stepInterval = 0;
    int32_t lastStepTime = 0;

    // ---- lives, score and pickups ----
    int16_t lives = 0;
    int32_t score = 0;
    int32_t extraLifeLevel = 0;
    int16_t beamCharges = 0;
    int16_t beamActive = 0, beamRequested = 0;
    int16_t beamHead = 0, beamTail = 0;
    int16_t starTick = 0, bonusTick = 0;
    int16_t starFrame = 0, bonusFrame = 0;
    int16_t pickupSoundIndex = 0;

    // ---- level ----
    int16_t levelNumber = 0;
    MapGrid<int16_t> mapTiles;
    MapGrid<int16_t> mapSolid;
    MapGrid<int32_t> mapItems;
    std::array<Board, 20> boards{};
    int16_t boardCount = 0;
    std::array<Stone, 20> stones{};
    int16_t stoneCount = 0;
    std::array<FlexEnemy, 11> flexEnemies{};
    int16_t flexEnemyCount = 0;
    std::array<FigureEnemy, 11> figureEnemies{};
    int16_t figureEnemyCount = 0;
    int16_t signpostCol = 0, signpostRow = 0;
    int16_t boardGearTick = 0;

    // ---- camera ----
    int16_t cameraCol = 0, cameraRow = 0;
    int16_t cameraFineX = 0, cameraFineY = 0;
    int16_t cameraClampedX = 0, cameraClampedY = 0;

    // ---- game flow, timing and text ----
    int16_t levelWon = 0;
    int16_t gameLost = 0;
    int16_t levelLeft = 0;  // test-play: the level was left through its exit
    int16_t detailLevel = 0;
    int32_t fpsTestStart = 0, fpsFrameCount = 0, fpsSampleCount = 0;
    int16_t textDelay = 0;
    int16_t textSkippable = 0, textSkipped = 0;
    std::array<GlyphSlot, 11> glyphSlots{};  // 1..10 used
    std::array<dx::RECT, 11> glyphMarks{};   // 1..10 used
    int16_t introShown = 0;
    double statusPhase = 0.0;
};
static_assert(std::is_trivially_copyable_v<PlayState>, "a snapshot of the game is a plain copy");

struct GameState {
    // ---- video and sound objects ----
    std::shared_ptr<dx::DirectX7> dx;
    std::shared_ptr<dx::DirectDraw7> directDraw;
    dx::DDSURFACEDESC2 primaryDesc;
    dx::SurfacePtr primarySurface;
    dx::SurfacePtr backBuffer;
    dx::SurfacePtr playerSheet;
    dx::SurfacePtr tileSheet;
    dx::SurfacePtr tileCanvas;
    dx::SurfacePtr backgroundImage;
    dx::SurfacePtr parallaxStrip;
    dx::SurfacePtr objectSheet;
    dx::SurfacePtr enemySheet;
    dx::SurfacePtr fontSheet;
    dx::SurfacePtr backdropSurface;
    std::shared_ptr<dx::DirectInput7> directInput;
    std::shared_ptr<dx::DirectInputDevice7> keyboard;
    std::shared_ptr<dx::DirectSound> directSound;
    std::array<dx::SoundBufferPtr, 6> sounds019;   // star pickup, six copies
    std::array<dx::SoundBufferPtr, 11> sounds015;  // crawl of flexible enemy i (1..10)
    dx::SoundBufferPtr sound013, sound014, sound016, sound017, sound018, sound020, sound021,
        sound022, sound023, sound024, sound025, sound026, sound027, sound028;

    // ---- the rules' state ----
    PlayState play;

    // ---- high scores and test-play ----
    std::array<std::string, 11> hiScoreNames;   // 1..10 used
    std::array<std::string, 11> hiScoreValues;  // 1..10 used
    // Test-play of one map set (zorvik --level): the tile file's path, empty in the full game,
    // and the text of the set's three files as read at start-up.
    std::string testLevelPath;
    std::array<std::string, 3> testLevelLayers;
    // Test-play options: no intro card (--no-card), and the start cell (--start), 0 for the
    // level's own start.
    bool testLevelNoCard = false;
    int16_t testStartCol = 0, testStartRow = 0;
};

extern GameState state;

// Restores every global to its program-start value (releasing surfaces and buffers).
void ResetGlobals();

// ---- the globals by name ----
// video and sound
inline auto& dx = state.dx;
inline auto& directDraw = state.directDraw;
inline auto& primaryDesc = state.primaryDesc;
inline auto& primarySurface = state.primarySurface;
inline auto& backBuffer = state.backBuffer;
inline auto& playerSheet = state.playerSheet;
inline auto& tileSheet = state.tileSheet;
inline auto& tileCanvas = state.tileCanvas;
inline auto& backgroundImage = state.backgroundImage;
inline auto& parallaxStrip = state.parallaxStrip;
inline auto& objectSheet = state.objectSheet;
inline auto& enemySheet = state.enemySheet;
inline auto& fontSheet = state.fontSheet;
inline auto& backdropSurface = state.backdropSurface;
inline auto& directInput = state.directInput;
inline auto& keyboard = state.keyboard;
inline auto& directSound = state.directSound;
inline auto& sounds019 = state.sounds019;
inline auto& sounds015 = state.sounds015;
inline auto& sound013 = state.sound013;
inline auto& sound014 = state.sound014;
inline auto& sound016 = state.sound016;
inline auto& sound017 = state.sound017;
inline auto& sound018 = state.sound018;
inline auto& sound020 = state.sound020;
inline auto& sound021 = state.sound021;
inline auto& sound022 = state.sound022;
inline auto& sound023 = state.sound023;
inline auto& sound024 = state.sound024;
inline auto& sound025 = state.sound025;
inline auto& sound026 = state.sound026;
inline auto& sound027 = state.sound027;
inline auto& sound028 = state.sound028;
// input
inline auto& keyState = state.play.keyState;
inline auto& keyDelay = state.play.keyDelay;
inline auto& keyLeftLatch = state.play.keyLeftLatch;
inline auto& keyRightLatch = state.play.keyRightLatch;
inline auto& keyUpLatch = state.play.keyUpLatch;
inline auto& keyCtrlLatch = state.play.keyCtrlLatch;
inline auto& keyShiftLatch = state.play.keyShiftLatch;
inline auto& inputBlocked = state.play.inputBlocked;
// player
inline auto& playerCol = state.play.playerCol;
inline auto& playerRow = state.play.playerRow;
inline auto& playerOffsetX = state.play.playerOffsetX;
inline auto& playerOffsetY = state.play.playerOffsetY;
inline auto& playerFacing = state.play.playerFacing;
inline auto& playerState = state.play.playerState;
inline auto& playerNextState = state.play.playerNextState;
inline auto& playerBusy = state.play.playerBusy;
inline auto& playerFrame = state.play.playerFrame;
inline auto& playerFrameEnd = state.play.playerFrameEnd;
inline auto& playerFrameStep = state.play.playerFrameStep;
inline auto& playerSrcRect = state.play.playerSrcRect;
inline auto& playerDrawOffsetX = state.play.playerDrawOffsetX;
inline auto& playerDrawOffsetY = state.play.playerDrawOffsetY;
inline auto& playerSpeedX = state.play.playerSpeedX;
inline auto& playerSpeedY = state.play.playerSpeedY;
inline auto& playerJumping = state.play.playerJumping;
inline auto& jumpAngle = state.play.jumpAngle;
inline auto& jumpAngleStep = state.play.jumpAngleStep;
inline auto& jumpHeight = state.play.jumpHeight;
inline auto& playerFalling = state.play.playerFalling;
inline auto& stepInterval = state.play.stepInterval;
inline auto& lastStepTime = state.play.lastStepTime;
// lives, score and pickups
inline auto& lives = state.play.lives;
inline auto& score = state.play.score;
inline auto& extraLifeLevel = state.play.extraLifeLevel;
inline auto& beamCharges = state.play.beamCharges;
inline auto& beamActive = state.play.beamActive;
inline auto& beamRequested = state.play.beamRequested;
inline auto& beamHead = state.play.beamHead;
inline auto& beamTail = state.play.beamTail;
inline auto& starTick = state.play.starTick;
inline auto& bonusTick = state.play.bonusTick;
inline auto& starFrame = state.play.starFrame;
inline auto& bonusFrame = state.play.bonusFrame;
inline auto& pickupSoundIndex = state.play.pickupSoundIndex;
// level
inline auto& levelNumber = state.play.levelNumber;
inline auto& mapTiles = state.play.mapTiles;
inline auto& mapSolid = state.play.mapSolid;
inline auto& mapItems = state.play.mapItems;
inline auto& boards = state.play.boards;
inline auto& boardCount = state.play.boardCount;
inline auto& stones = state.play.stones;
inline auto& stoneCount = state.play.stoneCount;
inline auto& flexEnemies = state.play.flexEnemies;
inline auto& flexEnemyCount = state.play.flexEnemyCount;
inline auto& figureEnemies = state.play.figureEnemies;
inline auto& figureEnemyCount = state.play.figureEnemyCount;
inline auto& signpostCol = state.play.signpostCol;
inline auto& signpostRow = state.play.signpostRow;
inline auto& boardGearTick = state.play.boardGearTick;
// camera
inline auto& cameraCol = state.play.cameraCol;
inline auto& cameraRow = state.play.cameraRow;
inline auto& cameraFineX = state.play.cameraFineX;
inline auto& cameraFineY = state.play.cameraFineY;
inline auto& cameraClampedX = state.play.cameraClampedX;
inline auto& cameraClampedY = state.play.cameraClampedY;
// game flow, timing and text
inline auto& levelWon = state.play.levelWon;
inline auto& gameLost = state.play.gameLost;
inline auto& levelLeft = state.play.levelLeft;
inline auto& detailLevel = state.play.detailLevel;
inline auto& fpsTestStart = state.play.fpsTestStart;
inline auto& fpsFrameCount = state.play.fpsFrameCount;
inline auto& fpsSampleCount = state.play.fpsSampleCount;
inline auto& textDelay = state.play.textDelay;
inline auto& textSkippable = state.play.textSkippable;
inline auto& textSkipped = state.play.textSkipped;
inline auto& glyphSlots = state.play.glyphSlots;
inline auto& glyphMarks = state.play.glyphMarks;
inline auto& introShown = state.play.introShown;
inline auto& statusPhase = state.play.statusPhase;
inline auto& hiScoreNames = state.hiScoreNames;
inline auto& hiScoreValues = state.hiScoreValues;
inline auto& testLevelPath = state.testLevelPath;
inline auto& testLevelLayers = state.testLevelLayers;
inline auto& testLevelNoCard = state.testLevelNoCard;
inline auto& testStartCol = state.testStartCol;
inline auto& testStartRow = state.testStartRow;

// The program directory followed by a literal path such as "/data/003.dat".
std::string GamePath(const std::string& relative);

}  // namespace zorvik
