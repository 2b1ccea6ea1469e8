// SPDX-License-Identifier: GPL-3.0-or-later
// The game shell: start-up with its asset tables and failure messages, the new-game reset, the
// key latches and frame order of the level loop, and the shutdown.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "A_deklarace.h"
#include "B_inicializuj.h"
#include "C_mainloop.h"
#include "E_load.h"
#include "Form1.h"
#include "GameHarness.h"
#include "Z_Exit.h"

namespace zorvik::test {
namespace {

const std::string kSurfacesMessage = "Nepodařilo se nahrát SURFACES";
const std::string kSoundsMessage = "Nepodařilo se nahrat zvukové vzorky";

constexpr int kEscape = 1, kLeftCtrl = 29, kLeftShift = 42, kRightShift = 54, kRightCtrl = 157,
              kUp = 200, kLeft = 203, kRight = 205, kDown = 208, kEnter = 28;

void SetKey(int dik, bool down) {
    keyState.key[static_cast<size_t>(dik)] = down ? 0x80 : 0;
}

int Latched() {
    return (keyLeftLatch != 0) + (keyRightLatch != 0) + (keyUpLatch != 0) + (keyCtrlLatch != 0) +
           (keyShiftLatch != 0);
}

// ---- start-up --------------------------------------------------------------------------------

TEST(StartUp, CreatesEverySurfaceAtItsSizeWithItsColourKey) {
    GameHarness game;
    ASSERT_TRUE(game.InitGame());
    struct Row {
        const dx::SurfacePtr& surface;
        int width;
        int height;
        bool keyed;
    };
    const Row rows[] = {{playerSheet, 1944, 1109, true},  {tileSheet, 730, 146, false},
                        {tileCanvas, 804, 658, true},     {backgroundImage, 640, 480, false},
                        {parallaxStrip, 1638, 251, true}, {objectSheet, 669, 319, true},
                        {enemySheet, 1154, 363, true},    {fontSheet, 360, 209, true},
                        {backdropSurface, 640, 480, true}};
    for (const Row& row : rows) {
        ASSERT_TRUE(row.surface);
        EXPECT_EQ(row.surface->Width(), row.width);
        EXPECT_EQ(row.surface->Height(), row.height);
        EXPECT_EQ(row.surface->HasColorKey(), row.keyed) << row.width << " x " << row.height;
        if (row.keyed) {
            EXPECT_EQ(row.surface->ColorKey().low, 0);
            EXPECT_EQ(row.surface->ColorKey().high, 0);
        }
    }
    ASSERT_TRUE(primarySurface && backBuffer);
    EXPECT_TRUE(primarySurface->IsPrimary());
    EXPECT_EQ(backBuffer->ForeColor565(), dx::To565(255, 0, 255));
    EXPECT_TRUE(game.Host().DisplayModeSet());
    // The keyboard is acquired: reading it works.
    EXPECT_NO_THROW(keyboard->GetDeviceStateKeyboard(keyState));
}

TEST(StartUp, CreatesEverySoundBufferFromItsFileAtItsVolume) {
    GameHarness game;
    ASSERT_TRUE(game.InitGame());
    for (size_t i = 0; i < sounds019.size(); ++i) {
        ASSERT_TRUE(sounds019[i]) << i;
        EXPECT_EQ(sounds019[i]->Name(), "019.dat");
        EXPECT_EQ(sounds019[i]->Volume(), 0);
        if (i > 0) {
            EXPECT_NE(sounds019[i], sounds019[i - 1]) << "copies are separate buffers";
        }
    }
    EXPECT_FALSE(sounds015[0]);
    for (size_t i = 1; i <= 10; ++i) {
        ASSERT_TRUE(sounds015[i]) << i;
        EXPECT_EQ(sounds015[i]->Name(), "015.dat");
        EXPECT_EQ(sounds015[i]->Volume(), -1000);
    }
    struct Row {
        const dx::SoundBufferPtr& buffer;
        const char* file;
        int32_t volume;
    };
    const Row rows[] = {
        {sound025, "025.dat", -1000}, {sound026, "026.dat", -1800}, {sound016, "016.dat", -1100},
        {sound020, "020.dat", -1100}, {sound022, "022.dat", -500},  {sound027, "027.dat", -1500},
        {sound013, "013.dat", -200},  {sound014, "014.dat", -200},  {sound024, "024.dat", -200},
        {sound023, "023.dat", -200},  {sound017, "017.dat", -200},  {sound018, "018.dat", -20},
        {sound021, "021.dat", -20},   {sound028, "028.dat", -1000}};
    for (const Row& row : rows) {
        ASSERT_TRUE(row.buffer) << row.file;
        EXPECT_EQ(row.buffer->Name(), row.file);
        EXPECT_EQ(row.buffer->Volume(), row.volume) << row.file;
        EXPECT_FALSE(row.buffer->IsPlaying()) << row.file;
    }
}

TEST(StartUp, EndsWithTheNewGameValues) {
    GameHarness game;
    ASSERT_TRUE(game.InitGame());
    EXPECT_EQ(lives, 3);
    EXPECT_EQ(levelNumber, 1);
    EXPECT_EQ(keyDelay, 100);
}

TEST(StartUp, MissingPictureStopsTheSurfacesWithOneMessageAndEndsTheProgram) {
    TempGameDir dir;
    ASSERT_TRUE(dir.Remove("data/007.dat"));
    {
        GameHarness game(dir.Path());
        InitDirectX();
        EXPECT_EQ(game.Host().Messages(), std::vector<std::string>{kSurfacesMessage});
        EXPECT_TRUE(StartupFailed());
        // The five surfaces before it exist, none after it, and no colour key was set.
        for (const dx::SurfacePtr* made :
             {&playerSheet, &tileSheet, &tileCanvas, &backgroundImage, &parallaxStrip}) {
            ASSERT_TRUE(*made);
            EXPECT_FALSE((*made)->HasColorKey());
        }
        EXPECT_FALSE(objectSheet);
        EXPECT_FALSE(enemySheet);
        EXPECT_FALSE(fontSheet);
        EXPECT_FALSE(backdropSurface);
        // Start-up went on with the sounds.
        EXPECT_TRUE(sound028);
    }
    GameHarness game(dir.Path());
    const auto status = GameHarness::RunUntilEnd([] { Form_Load(); });
    ASSERT_TRUE(status.has_value());
    EXPECT_NE(*status, 0);
    EXPECT_EQ(game.CountMessages(kSurfacesMessage), 1);
    EXPECT_EQ(game.Host().Messages().size(), 1u);
    EXPECT_FALSE(game.Host().DisplayModeSet());
    EXPECT_TRUE(game.Host().CursorShown());
    EXPECT_EQ(game.Host().Frames(), 0) << "the frame-rate test must not run";
}

TEST(StartUp, MissingSoundShowsOneMessageAfterAllSurfacesAndEndsTheProgram) {
    TempGameDir dir;
    ASSERT_TRUE(dir.Remove("data/022.dat"));
    {
        GameHarness game(dir.Path());
        InitDirectX();
        EXPECT_EQ(game.Host().Messages(), std::vector<std::string>{kSoundsMessage});
        ASSERT_TRUE(backdropSurface);
        EXPECT_TRUE(backdropSurface->HasColorKey());
        EXPECT_TRUE(sound020);
        EXPECT_FALSE(sound022);
        EXPECT_FALSE(sound027);
        EXPECT_FALSE(sound028);
    }
    GameHarness game(dir.Path());
    const auto status = GameHarness::RunUntilEnd([] { Form_Load(); });
    ASSERT_TRUE(status.has_value());
    EXPECT_NE(*status, 0);
    EXPECT_EQ(game.Host().Messages(), std::vector<std::string>{kSoundsMessage});
    EXPECT_FALSE(game.Host().DisplayModeSet());
    EXPECT_TRUE(game.Host().CursorShown());
}

TEST(StartUp, MissingOrGarbledHighScoreFileIsNoFailure) {
    for (const char* contents : {"", "abc\n", "9999\n"}) {
        TempGameDir dir;
        if (*contents == '\0') {
            ASSERT_TRUE(dir.Remove("data/012.dat"));
        } else {
            dir.Write("data/012.dat", contents);
        }
        GameHarness game(dir.Path());
        EXPECT_TRUE(game.InitGame()) << "file: '" << contents << "'";
        EXPECT_FALSE(StartupFailed());
        for (int i = 1; i <= 10; ++i) {
            EXPECT_EQ(hiScoreNames[static_cast<size_t>(i)], "");
            EXPECT_EQ(hiScoreValues[static_cast<size_t>(i)], "");
        }
        // The new-game reset still ran.
        EXPECT_EQ(lives, 3);
        EXPECT_EQ(keyDelay, 100);
    }
}

TEST(StartUp, FormLoadRunsThroughStartUpWithoutMessages) {
    GameHarness game;
    game.Host().SetTimeLimitMs(8000);
    // The title menu waits for keys for ever; the time limit ends the run there.
    bool reachedMenu = false;
    try {
        GameHarness::RunUntilEnd([] { Form_Load(); });
    } catch (const dx::HeadlessTimeout&) {
        reachedMenu = true;
    }
    EXPECT_TRUE(reachedMenu);
    EXPECT_TRUE(game.Host().Messages().empty());
    EXPECT_FALSE(game.Host().CursorShown());
    EXPECT_TRUE(game.Host().DisplayModeSet());
    EXPECT_EQ(detailLevel, 1);
    EXPECT_EQ(stepInterval, 16);
    EXPECT_EQ(textDelay, 22);
}

// ---- new-game reset --------------------------------------------------------------------------

TEST(NewGame, ResetsItsGlobalsAndLeavesTheRest) {
    GameHarness game;
    lives = 1;
    levelNumber = 4;
    levelWon = kTrue;
    gameLost = kTrue;
    signpostCol = 12;
    signpostRow = 7;
    playerOffsetX = 3.5;
    playerOffsetY = 60;
    playerJumping = playerFalling = playerBusy = kTrue;
    playerFrame = 77;
    playerState = 3;
    playerNextState = 1;
    keyLeftLatch = keyRightLatch = keyUpLatch = keyCtrlLatch = keyShiftLatch = kTrue;
    score = 123456;
    extraLifeLevel = 12;
    textSkippable = textSkipped = kTrue;
    keyDelay = 3;
    beamCharges = 4;
    playerFacing = 1;
    inputBlocked = kTrue;

    ResetNewGame();

    EXPECT_EQ(lives, 3);
    EXPECT_EQ(levelNumber, 1);
    EXPECT_EQ(levelWon, 0);
    EXPECT_EQ(gameLost, 0);
    EXPECT_EQ(playerCol, 12);
    EXPECT_EQ(playerRow, 7);
    EXPECT_EQ(playerOffsetX, 35.0);
    EXPECT_EQ(playerOffsetY, 40.0);
    EXPECT_EQ(playerJumping + playerFalling + playerBusy + playerFrame, 0);
    EXPECT_EQ(playerState + playerNextState, 0);
    EXPECT_EQ(Latched(), 0);
    EXPECT_EQ(score, 0);
    EXPECT_EQ(extraLifeLevel, 0);
    EXPECT_EQ(textSkippable + textSkipped, 0);
    EXPECT_EQ(keyDelay, 100);
    // Left for the level loader and the player code.
    EXPECT_EQ(beamCharges, 4);
    EXPECT_EQ(playerFacing, 1);
    EXPECT_EQ(inputBlocked, kTrue);
}

// ---- key latches -----------------------------------------------------------------------------

TEST(KeyLatches, AfterTheDelayOfHundredTheHundredthFrameLatches) {
    GameHarness game;
    keyDelay = 100;
    SetKey(kRight, true);
    for (int frame = 1; frame <= 99; ++frame) {
        LatchMovementKeys();
        ASSERT_EQ(keyRightLatch, 0) << "frame " << frame;
    }
    LatchMovementKeys();
    EXPECT_EQ(keyRightLatch, kTrue);
    EXPECT_EQ(keyDelay, 0);
    // From then on the delay stays at 0 and keys latch every frame.
    keyRightLatch = kFalse;
    LatchMovementKeys();
    EXPECT_EQ(keyDelay, 0);
    EXPECT_EQ(keyRightLatch, kTrue);
}

TEST(KeyLatches, EveryMovementKeyLatchesAndLeftWithRightLatchesBoth) {
    GameHarness game;
    for (int dik : {kLeft, kRight, kUp, kLeftCtrl, kLeftShift})
        SetKey(dik, true);
    LatchMovementKeys();
    EXPECT_EQ(Latched(), 5);
    EXPECT_EQ(keyLeftLatch, kTrue);
    EXPECT_EQ(keyRightLatch, kTrue);

    ResetGlobals();
    SetKey(kRightCtrl, true);
    SetKey(kRightShift, true);
    LatchMovementKeys();
    EXPECT_EQ(keyCtrlLatch, kTrue);
    EXPECT_EQ(keyShiftLatch, kTrue);
    EXPECT_EQ(Latched(), 2);

    // Latches are never cleared here: released keys leave them set.
    ResetGlobals();
    keyUpLatch = kTrue;
    LatchMovementKeys();
    EXPECT_EQ(keyUpLatch, kTrue);
}

TEST(KeyLatches, BlockedInputLatchesNothing) {
    GameHarness game;
    inputBlocked = kTrue;
    for (int dik : {kLeft, kRight, kUp, kLeftCtrl, kRightCtrl, kLeftShift, kRightShift})
        SetKey(dik, true);
    LatchMovementKeys();
    EXPECT_EQ(Latched(), 0);
}

// ---- the level loop --------------------------------------------------------------------------

// A flat level: ground in row 10, the player start at column 5 and the red signpost at 4.
void WriteFlatLevel(TempGameDir& dir) {
    std::string tiles, solid, items;
    for (int row = 1; row <= 18; ++row) {
        for (int col = 1; col <= 50; ++col) {
            const bool ground = row >= 10;
            tiles += ground ? "001" : "000";
            solid += ground ? "001" : "000";
            if (row == 9 && col == 5) {
                items += "999";
            } else if (row == 9 && col == 4) {
                items += "055";
            } else {
                items += "000";
            }
        }
        tiles += "\r\n";
        solid += "\r\n";
        items += "\r\n";
    }
    dir.Write("map/mapa1.map", tiles);
    dir.Write("map/mapa1.map.1", solid);
    dir.Write("map/mapa1.map.2", items);
}

class LevelLoopTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WriteFlatLevel(dir);
        game = std::make_unique<GameHarness>(dir.Path());
        ASSERT_TRUE(game->InitGame());
        game->SetFrameRateResults();
        levelNumber = 1;
        ReadLevelMap();
        keyDelay = 100;
        game->Host().SetTimeLimitMs(60000);
    }
    void TearDown() override { game.reset(); }

    TempGameDir dir;
    std::unique_ptr<GameHarness> game;
};

TEST_F(LevelLoopTest, TheWinningOrLosingFrameIsDrawnAndFlippedBeforeReturning) {
    for (int16_t* flag : {&levelWon, &gameLost}) {
        levelWon = gameLost = kFalse;
        const long start = game->Host().Frames();
        // Before the sixth frame is drawn: paint the back buffer with a marker colour, and
        // set the flag as if the frame's rules had just ended the game.
        game->onKeyboardRead = [&](dx::HeadlessHost& host) {
            if (host.Frames() - start == 5) {
                backBuffer->BltColorFill({0, 0, 640, 480}, 0x1234);
                *flag = kTrue;
            }
        };
        RunLevelLoop();
        game->onKeyboardRead = nullptr;
        EXPECT_EQ(game->Host().Frames() - start, 6);
        const auto& screen = game->Host().Screen();
        const auto markers = std::count(screen.begin(), screen.end(), uint16_t{0x1234});
        EXPECT_LT(markers, 640 * 480 / 2) << "the last frame was not drawn over";
    }
}

TEST_F(LevelLoopTest, EscapeOpensTheMenuEvenWhileInputIsBlocked) {
    inputBlocked = kTrue;
    keyDelay = 0;
    // Escape in the first frame opens the pause menu; once it has been drawn, Down twice and
    // Enter choose "back to the menu", which ends the game and so the loop.
    game->HoldKeyMs(kEscape, 0, 10);
    game->HoldKeyMs(kDown, 4000, 4100);
    game->HoldKeyMs(kDown, 5000, 5100);
    game->HoldKeyMs(kEnter, 6000, 6100);
    RunLevelLoop();
    EXPECT_EQ(gameLost, kTrue);
}

// ---- shutdown --------------------------------------------------------------------------------

TEST(Shutdown, GivesTheDesktopBackAndEndsAtOnce) {
    GameHarness game;
    ASSERT_TRUE(game.InitGame());
    dx::ShowCursor(false);
    const auto status = GameHarness::RunUntilEnd([] { ExitGame(); });
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 0);
    EXPECT_FALSE(game.Host().DisplayModeSet());
    EXPECT_TRUE(game.Host().CursorShown());
    for (const dx::SurfacePtr* released : {&playerSheet, &tileSheet, &tileCanvas, &backgroundImage,
                                           &parallaxStrip, &objectSheet, &backdropSurface}) {
        EXPECT_FALSE(*released);
    }
    EXPECT_TRUE(enemySheet);
    EXPECT_TRUE(fontSheet);
    EXPECT_THROW(keyboard->GetDeviceStateKeyboard(keyState), dx::PlatformError)
        << "the keyboard should be let go";
}

TEST(Shutdown, RestoringTheDesktopCopesWithAHalfDoneStartUp) {
    GameHarness game;
    dx::ShowCursor(false);
    EXPECT_NO_THROW(RestoreDesktop());
    EXPECT_TRUE(game.Host().CursorShown());
}

}  // namespace
}  // namespace zorvik::test
