// The game's shared state: every global of the game, with its type and program-start value,
// grouped by subject. All of it lives in one record so that ResetGlobals() can restore the
// program-start values; the names below refer to its fields.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

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
    bool operator==(const MapGrid&) const = default;

  private:
    static size_t Index(int col, int row) {
        // A read or write outside the map arrays is a fault of the caller, never memory damage.
        if (col < 0 || col >= kMapCols || row < 0 || row >= kMapRows) {
            throw std::out_of_range("map cell (" + std::to_string(col) + ", " +
                                    std::to_string(row) + ") outside the map arrays");
        }
        return static_cast<size_t>(row) * kMapCols + static_cast<size_t>(col);
    }
    std::array<T, kMapCols * kMapRows> cells_{};
};

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
    int16_t detailLevel = 0;
    int32_t fpsTestStart = 0, fpsFrameCount = 0, fpsSampleCount = 0;
    int16_t textDelay = 0;
    int16_t textSkippable = 0, textSkipped = 0;
    std::array<GlyphSlot, 11> glyphSlots{};  // 1..10 used
    std::array<dx::RECT, 11> glyphMarks{};   // 1..10 used
    int16_t introShown = 0;
    double statusPhase = 0.0;
    std::array<std::string, 11> hiScoreNames;   // 1..10 used
    std::array<std::string, 11> hiScoreValues;  // 1..10 used
    // Test-play of one map set (zorvik --level): the tile file's path, empty in the full game,
    // and the text of the set's three files as read at start-up.
    std::string testLevelPath;
    std::array<std::string, 3> testLevelLayers;
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
inline auto& keyState = state.keyState;
inline auto& keyDelay = state.keyDelay;
inline auto& keyLeftLatch = state.keyLeftLatch;
inline auto& keyRightLatch = state.keyRightLatch;
inline auto& keyUpLatch = state.keyUpLatch;
inline auto& keyCtrlLatch = state.keyCtrlLatch;
inline auto& keyShiftLatch = state.keyShiftLatch;
inline auto& inputBlocked = state.inputBlocked;
// player
inline auto& playerCol = state.playerCol;
inline auto& playerRow = state.playerRow;
inline auto& playerOffsetX = state.playerOffsetX;
inline auto& playerOffsetY = state.playerOffsetY;
inline auto& playerFacing = state.playerFacing;
inline auto& playerState = state.playerState;
inline auto& playerNextState = state.playerNextState;
inline auto& playerBusy = state.playerBusy;
inline auto& playerFrame = state.playerFrame;
inline auto& playerFrameEnd = state.playerFrameEnd;
inline auto& playerFrameStep = state.playerFrameStep;
inline auto& playerSrcRect = state.playerSrcRect;
inline auto& playerDrawOffsetX = state.playerDrawOffsetX;
inline auto& playerDrawOffsetY = state.playerDrawOffsetY;
inline auto& playerSpeedX = state.playerSpeedX;
inline auto& playerSpeedY = state.playerSpeedY;
inline auto& playerJumping = state.playerJumping;
inline auto& jumpAngle = state.jumpAngle;
inline auto& jumpAngleStep = state.jumpAngleStep;
inline auto& jumpHeight = state.jumpHeight;
inline auto& playerFalling = state.playerFalling;
inline auto& stepInterval = state.stepInterval;
inline auto& lastStepTime = state.lastStepTime;
// lives, score and pickups
inline auto& lives = state.lives;
inline auto& score = state.score;
inline auto& extraLifeLevel = state.extraLifeLevel;
inline auto& beamCharges = state.beamCharges;
inline auto& beamActive = state.beamActive;
inline auto& beamRequested = state.beamRequested;
inline auto& beamHead = state.beamHead;
inline auto& beamTail = state.beamTail;
inline auto& starTick = state.starTick;
inline auto& bonusTick = state.bonusTick;
inline auto& starFrame = state.starFrame;
inline auto& bonusFrame = state.bonusFrame;
inline auto& pickupSoundIndex = state.pickupSoundIndex;
// level
inline auto& levelNumber = state.levelNumber;
inline auto& mapTiles = state.mapTiles;
inline auto& mapSolid = state.mapSolid;
inline auto& mapItems = state.mapItems;
inline auto& boards = state.boards;
inline auto& boardCount = state.boardCount;
inline auto& stones = state.stones;
inline auto& stoneCount = state.stoneCount;
inline auto& flexEnemies = state.flexEnemies;
inline auto& flexEnemyCount = state.flexEnemyCount;
inline auto& figureEnemies = state.figureEnemies;
inline auto& figureEnemyCount = state.figureEnemyCount;
inline auto& signpostCol = state.signpostCol;
inline auto& signpostRow = state.signpostRow;
inline auto& boardGearTick = state.boardGearTick;
// camera
inline auto& cameraCol = state.cameraCol;
inline auto& cameraRow = state.cameraRow;
inline auto& cameraFineX = state.cameraFineX;
inline auto& cameraFineY = state.cameraFineY;
inline auto& cameraClampedX = state.cameraClampedX;
inline auto& cameraClampedY = state.cameraClampedY;
// game flow, timing and text
inline auto& levelWon = state.levelWon;
inline auto& gameLost = state.gameLost;
inline auto& detailLevel = state.detailLevel;
inline auto& fpsTestStart = state.fpsTestStart;
inline auto& fpsFrameCount = state.fpsFrameCount;
inline auto& fpsSampleCount = state.fpsSampleCount;
inline auto& textDelay = state.textDelay;
inline auto& textSkippable = state.textSkippable;
inline auto& textSkipped = state.textSkipped;
inline auto& glyphSlots = state.glyphSlots;
inline auto& glyphMarks = state.glyphMarks;
inline auto& introShown = state.introShown;
inline auto& statusPhase = state.statusPhase;
inline auto& hiScoreNames = state.hiScoreNames;
inline auto& hiScoreValues = state.hiScoreValues;
inline auto& testLevelPath = state.testLevelPath;
inline auto& testLevelLayers = state.testLevelLayers;

// The program directory followed by a literal path such as "/data/003.dat".
std::string GamePath(const std::string& relative);

}  // namespace zorvik
