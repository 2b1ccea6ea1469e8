// SPDX-License-Identifier: GPL-3.0-or-later
// The title menu (intro wipe, navigation, story, table view, credits, quit), the pause menu, and
// a whole run of the game's cycle from Form_Load.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "A_deklarace.h"
#include "C_mainloop.h"
#include "E_load.h"
#include "Form1.h"
#include "GameHarness.h"
#include "K_Menu.h"
#include "MenuScript.h"
#include "N_Herni_Menu.h"
#include "Png.h"
#include "TestLevel.h"
#include "TestPaths.h"

namespace zorvik::test {
namespace {

using Screen = std::vector<uint16_t>;

// True when the rows [top, bottom) and columns [left, right) of two screens are equal.
bool SameArea(const Screen& a, const Screen& b, int left, int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const size_t i = static_cast<size_t>(y) * dx::kScreenWidth + x;
            if (a[i] != b[i]) return false;
        }
    }
    return true;
}

// A flat level 1 with the player's start and the red signpost, so the level can be played.
void WriteLevelOne(TempGameDir& dir) {
    TestLevel level;
    level.Ground(12);
    level.items[11][5] = 55;
    level.items[11][6] = 999;
    level.Write(dir, 1);
}

// The game in a temporary copy of the game folder that holds a level 1 of its own.
class MenuTest : public ::testing::Test {
  protected:
    TempGameDir dir;
    GameHarness game{dir.Path()};

    void SetUp() override {
        WriteLevelOne(dir);
        ASSERT_TRUE(game.InitGame());
        game.SetFrameRateResults();
        game.Host().SetTimeLimitMs(300 * 1000.0);
    }
    long Frames() { return game.Host().Frames(); }
};

// ---- intro wipe ----------------------------------------------------------------------------

TEST_F(MenuTest, IntroRunsItsFullLengthAndRevealsThePicture) {
    const long start = Frames();
    PlayTitleIntro();
    EXPECT_EQ(Frames() - start, 479);
    // Rows 1 to 479 are the title picture itself once the wipe has ended.
    const Screen& screen = game.Host().Screen();
    const dx::DirectDrawSurface7& picture = *backdropSurface;
    for (int y = 1; y < 480; y += 7) {
        for (int x = 0; x < 640; x += 5) {
            ASSERT_EQ(screen[static_cast<size_t>(y) * 640 + x], picture.Pixel(x, y))
                << "at " << x << ", " << y;
        }
    }
}

TEST_F(MenuTest, IntroIgnoresKeysInItsFirstThirtySteps) {
    long start = Frames();
    for (const int key : {dik::kSpace, dik::kEscape, dik::kEnter, dik::kKeypadEnter}) {
        // Held during the first thirty steps only: nothing happens.
        game.HoldKeyFrames(key, start, start + 30);
        PlayTitleIntro();
        EXPECT_EQ(Frames() - start, 479) << "key " << key;
        // Held from the start: the intro stops at the first step that may be skipped.
        start = Frames();
        game.HoldKeyFrames(key, start, start + 1000);
        PlayTitleIntro();
        EXPECT_EQ(Frames() - start, 31) << "key " << key;
        game.Host().AdvanceMs(100);
        start = Frames() + 1000;  // past the hold
        while (Frames() < start)
            primarySurface->Flip(nullptr, dx::DDFLIP_WAIT);
    }
}

// ---- title menu ----------------------------------------------------------------------------

TEST_F(MenuTest, NavigationClampsAtTheFirstItemButStillSoundsAndRedraws) {
    introShown = kTrue;
    KeyScript keys(game);
    keys.Tap(dik::kUp).Tap(dik::kUp).Tap(dik::kSpace).TapAfterFrames(dik::kEscape, 10);
    const int before = sound028->PlayCount();
    RunTitleMenu();
    EXPECT_TRUE(keys.Finished());
    // Two arrows and the choice; Escape left the story before its prompt.
    EXPECT_EQ(sound028->PlayCount() - before, 3);
    // Every press of Up was answered by a redraw: the screen flipped before the next key.
    const auto& at = keys.PressFrames();
    EXPECT_GT(at[1], at[0]);
    EXPECT_GT(at[2], at[1]);
    EXPECT_EQ(textSkipped, kTrue);  // item 1 stayed selected: the story ran
    EXPECT_EQ(lives, 3);            // and the new-game reset ran
}

TEST_F(MenuTest, NavigationClampsAtTheLastItemAndQuitRestoresTheDesktop) {
    introShown = kTrue;
    KeyScript keys(game);
    for (int i = 0; i < 5; ++i)
        keys.Tap(dik::kDown);
    keys.Tap(dik::kEnter);
    const int before = sound028->PlayCount();
    const std::optional<int> status = GameHarness::RunUntilEnd([] { RunTitleMenu(); });
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 0);
    EXPECT_TRUE(keys.Finished());
    EXPECT_EQ(sound028->PlayCount() - before, 6);
    const auto& at = keys.PressFrames();
    for (size_t i = 1; i < at.size(); ++i)
        EXPECT_GT(at[i], at[i - 1]) << "press " << i;
    EXPECT_FALSE(game.Host().DisplayModeSet());
    EXPECT_TRUE(game.Host().CursorShown());
}

TEST_F(MenuTest, TableAndCreditsReturnToTheFirstItem) {
    introShown = kTrue;
    KeyScript keys(game);
    // Table, back; Down twice from item 1 is the credits (from item 2 it would be quit).
    keys.Tap(dik::kDown).Tap(dik::kEnter).Tap(dik::kKeypadEnter);
    keys.Tap(dik::kDown).Tap(dik::kDown).Tap(dik::kSpace).Tap(dik::kEnter);
    keys.Tap(dik::kDown).Tap(dik::kDown).Tap(dik::kDown).Tap(dik::kEnter);
    const std::optional<int> status = GameHarness::RunUntilEnd([] { RunTitleMenu(); });
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(keys.Finished());
    EXPECT_EQ(keys.Done(), 11u);
}

// Part of the character cell of a table line (entry i, character k after the prefix): the
// letter band holds the upper part of letters and digits, where dots have nothing; the dot band
// the bottom rows, where a dot sits.
Screen TableBand(const Screen& s, int entry, int k, bool dotBand) {
    const int x = 190 + 20 * k;
    const int y = 120 + 30 * entry;
    const int top = dotBand ? y + 23 : y + 2;
    const int bottom = dotBand ? y + 30 : y + 22;
    const int left = dotBand ? x : x + 5;
    const int right = dotBand ? x + 12 : x + 20;
    Screen cell;
    for (int row = top; row < bottom; ++row) {
        for (int col = left; col < right; ++col) {
            cell.push_back(s[static_cast<size_t>(row) * 640 + col]);
        }
    }
    return cell;
}

bool Blank(const Screen& cell) {
    for (const uint16_t p : cell) {
        if (p != 0) return false;
    }
    return true;
}

TEST_F(MenuTest, TableLinesPadNamesWithDotsToOneColumn) {
    introShown = kTrue;
    for (int i = 1; i <= 10; ++i) {
        hiScoreNames[i] = "";
        hiScoreValues[i] = "0001000";
    }
    hiScoreNames[2] = "ABCDEFGHIJ";  // ten letters: three dots
    hiScoreNames[3] = "";            // empty: thirteen dots
    hiScoreNames[4] = "AB";
    KeyScript keys(game);
    keys.Tap(dik::kDown).Tap(dik::kEnter).Tap(dik::kEnter);
    keys.Tap(dik::kDown).Tap(dik::kDown).Tap(dik::kDown).Tap(dik::kEnter);
    ASSERT_TRUE(GameHarness::RunUntilEnd([] { RunTitleMenu(); }).has_value());
    const Screen& table = keys.PressScreens().at(2);  // the table, as Enter left it

    const auto letter = [&table](int entry, int k) { return TableBand(table, entry, k, false); };
    const auto dot = [&table](int entry, int k) { return TableBand(table, entry, k, true); };
    for (int k = 1; k <= 21; ++k) {
        SCOPED_TRACE("character " + std::to_string(k));
        const bool name10 = k <= 10, dots10 = k >= 11 && k <= 13, digits = k >= 14 && k <= 20;
        EXPECT_EQ(!Blank(letter(2, k)), name10 || digits);
        EXPECT_EQ(!Blank(letter(3, k)), digits);
        EXPECT_EQ(!Blank(letter(4, k)), k <= 2 || digits);
        if (digits) {
            // The scores stand in one column whatever the length of the name.
            EXPECT_EQ(letter(3, k), letter(2, k));
            EXPECT_EQ(letter(4, k), letter(2, k));
        }
        // Every padding dot is the same picture; letters and digits are not.
        const Screen refDot = dot(3, 1);
        EXPECT_EQ(dot(2, k) == refDot, dots10);
        EXPECT_EQ(dot(3, k) == refDot, k <= 13);
        EXPECT_EQ(dot(4, k) == refDot, k >= 3 && k <= 13);
    }
}

// ---- story ---------------------------------------------------------------------------------

struct StoryRun {
    bool returned = false;
    int16_t skipped = 0;
    int sound028Plays = 0;
    long storyStart = 0;
    long end = 0;
    Screen finalScreen;
    std::vector<Screen> flips;  // every screen from the story's start on (calibration only)
};

// Runs the title menu into the story on a fresh harness; Escape `escapeAfter` flips after the
// story began, or Space at the prompt when escapeAfter is 0.
StoryRun RunStory(long escapeAfter, bool keepFlips) {
    GameHarness game;
    EXPECT_TRUE(game.InitGame());
    game.SetFrameRateResults(16, 10);
    introShown = kTrue;
    StoryRun run;
    KeyScript keys(game);
    keys.Tap(dik::kEnter);
    if (escapeAfter > 0) {
        keys.TapAfterFrames(dik::kEscape, escapeAfter);
    } else {
        keys.Tap(dik::kSpace);
    }
    if (keepFlips) {
        game.Host().onFlip = [&run, &keys](dx::HeadlessHost& host, const uint16_t* pixels) {
            if (keys.Done() >= 1) run.flips.emplace_back(pixels, pixels + 640 * 480);
            (void)host;
        };
    }
    const int before = sound028->PlayCount();
    RunTitleMenu();
    run.returned = true;
    run.skipped = textSkipped;
    run.sound028Plays = sound028->PlayCount() - before;
    run.storyStart = keys.PressFrames().at(0);
    run.end = game.Host().Frames();
    run.finalScreen = game.Host().Screen();
    game.Host().onFlip = nullptr;
    return run;
}

TEST(StoryTest, EscapeLeavesTheStoryAtAnyOfItsThreeTexts) {
    // Text 1 lies above row 180, text 2 between rows 200 and 420, the prompt below 420.
    const StoryRun full = RunStory(0, true);
    ASSERT_TRUE(full.returned);
    EXPECT_EQ(full.skipped, kFalse);
    EXPECT_EQ(full.sound028Plays, 2);  // the choice and the prompt's Space
    const auto doneFrom = [&full](int top, int bottom) {
        size_t from = full.flips.size();
        while (from > 0 && SameArea(full.flips[from - 1], full.finalScreen, 0, top, 640, bottom)) {
            --from;
        }
        return static_cast<long>(from);
    };
    const long text1Done = doneFrom(0, 180);
    const long text2Done = doneFrom(200, 420);
    ASSERT_GT(text1Done, 20);
    ASSERT_GT(text2Done, text1Done + 20);
    ASSERT_LT(text2Done + 10, static_cast<long>(full.flips.size()));

    const long escapeAt[] = {10, (text1Done + text2Done) / 2, text2Done + 5};
    for (int text = 1; text <= 3; ++text) {
        SCOPED_TRACE("Escape in text " + std::to_string(text));
        const StoryRun cut = RunStory(escapeAt[text - 1], false);
        ASSERT_TRUE(cut.returned);  // no Space needed: the game starts
        EXPECT_EQ(cut.skipped, kTrue);
        EXPECT_EQ(cut.sound028Plays, 1);
        EXPECT_LT(cut.end, full.end);
        const Screen& s = cut.finalScreen;
        EXPECT_EQ(SameArea(s, full.finalScreen, 0, 0, 640, 180), text >= 2);
        EXPECT_EQ(SameArea(s, full.finalScreen, 0, 200, 640, 420), text >= 3);
        EXPECT_FALSE(SameArea(s, full.finalScreen, 0, 420, 640, 480));
    }
}

// ---- pause menu ----------------------------------------------------------------------------

class GameMenuTest : public MenuTest {
  protected:
    void SetUp() override {
        MenuTest::SetUp();
        if (HasFatalFailure()) return;
        KeyScript start(game);
        start.Tap(dik::kSpace);
        LoadLevel();
        game.onKeyboardRead = nullptr;
        game.Release(dik::kSpace);  // still held: LoadLevel returns without a flip
        score = 1234;
        lives = 1;
        extraLifeLevel = 2;
        keyDelay = 0;
        keyRightLatch = kTrue;
        keyShiftLatch = kTrue;
        playerJumping = kTrue;
        playerFrame = 17;
        sound021->Play(dx::DSBPLAY_LOOPING);
    }
};

TEST_F(GameMenuTest, ContinueReturnsWithNothingChangedAndTheRollingSoundSilenced) {
    KeyScript keys(game);
    keys.Tap(dik::kUp).Tap(dik::kEnter);  // Up on the first choice stays there
    const int before = sound028->PlayCount();
    const long start = Frames();
    RunGameMenu();
    EXPECT_TRUE(keys.Finished());
    EXPECT_GT(keys.PressFrames()[1], keys.PressFrames()[0]);  // redrawn after Up
    EXPECT_EQ(sound028->PlayCount() - before, 2);
    EXPECT_FALSE(sound021->IsPlaying());
    EXPECT_EQ(score, 1234);
    EXPECT_EQ(lives, 1);
    EXPECT_EQ(gameLost, kFalse);
    EXPECT_EQ(keyRightLatch, kTrue);
    // The first drawing flies at half the flight time (22 / 2 = 11 frames a character), much
    // quicker than the four lines at the full time would be.
    EXPECT_LT(keys.PressFrames()[0] - start, 4 * (22 + 6));
}

TEST_F(GameMenuTest, RestartGivesAFreshScoreAndThreeLivesButKeepsTheExtraLifeLevel) {
    KeyScript keys(game);
    keys.Tap(dik::kDown).Tap(dik::kEnter).Tap(dik::kSpace);
    const int before017 = sound017->PlayCount();
    RunGameMenu();
    EXPECT_TRUE(keys.Finished());
    EXPECT_EQ(score, 0);
    EXPECT_EQ(lives, 3);
    EXPECT_EQ(extraLifeLevel, 2);
    EXPECT_EQ(levelNumber, 1);
    EXPECT_EQ(keyDelay, 100);
    EXPECT_EQ(keyRightLatch, kFalse);
    EXPECT_EQ(keyShiftLatch, kFalse);
    EXPECT_EQ(playerJumping, kFalse);
    EXPECT_EQ(playerFrame, 0);
    EXPECT_EQ(sound017->PlayCount() - before017, 1);
    EXPECT_EQ(gameLost, kFalse);
}

TEST_F(GameMenuTest, BackToTheMenuLosesTheGame) {
    KeyScript keys(game);
    keys.Tap(dik::kDown).Tap(dik::kDown).Tap(dik::kSpace);
    RunGameMenu();
    EXPECT_EQ(gameLost, kTrue);
    EXPECT_EQ(score, 1234);
}

TEST_F(GameMenuTest, QuitEndsTheProgramWithTheDesktopRestored) {
    KeyScript keys(game);
    for (int i = 0; i < 4; ++i)
        keys.Tap(dik::kDown);  // the fourth stays on the last choice
    keys.Tap(dik::kEnter);
    const int before = sound028->PlayCount();
    const std::optional<int> status = GameHarness::RunUntilEnd([] { RunGameMenu(); });
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 0);
    EXPECT_EQ(sound028->PlayCount() - before, 5);
    EXPECT_FALSE(game.Host().DisplayModeSet());
    EXPECT_TRUE(game.Host().CursorShown());
}

// ---- the whole cycle -----------------------------------------------------------------------

TEST(GameCycleTest, TitleStoryLevelPauseGameOverAndBackToTheTitle) {
    TempGameDir dir;
    WriteLevelOne(dir);
    GameHarness game(dir.Path());
    game.Host().SetTimeLimitMs(600 * 1000.0);
    KeyScript keys(game);
    keys.Tap(dik::kEnter)                  // 0 new game
        .TapAfterFrames(dik::kEscape, 30)  // 1 leave the story
        .Tap(dik::kSpace)                  // 2 the level's intro card
        .TapAfterFrames(dik::kEscape, 60)  // 3 pause the level
        .Tap(dik::kDown)                   // 4
        .Tap(dik::kDown)                   // 5
        .Tap(dik::kEnter)                  // 6 back to the menu: game over
        .Tap(dik::kSpace)                  // 7 leave the game-over screen
        .Tap(dik::kDown)                   // 8 the title menu again
        .Tap(dik::kDown)
        .Tap(dik::kDown)
        .Tap(dik::kEnter);  // quit
    long introFrames = 0;
    game.Host().onFlip = [&introFrames, &keys](dx::HeadlessHost&, const uint16_t*) {
        if (keys.Done() == 0 && introShown != kFalse) ++introFrames;
    };
    const std::optional<int> status = GameHarness::RunUntilEnd([] { Form_Load(); });
    game.Host().onFlip = nullptr;
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 0);
    EXPECT_TRUE(keys.Finished());
    EXPECT_TRUE(game.Host().Messages().empty());
    EXPECT_FALSE(game.Host().DisplayModeSet());
    EXPECT_TRUE(game.Host().CursorShown());
    // Giving up led to the game-over screen: black but for its two texts.
    const Screen& gameOver = keys.PressScreens().at(7);
    EXPECT_TRUE(SameArea(gameOver, Screen(640 * 480, 0), 0, 200, 640, 420));
    EXPECT_FALSE(SameArea(gameOver, Screen(640 * 480, 0), 0, 150, 640, 181));
    const auto& at = keys.PressFrames();
    // The title appears at once the second time: no intro wipe of 479 frames.
    EXPECT_LT(at[8] - at[7], 479);
    EXPECT_GT(at[0], 479);
}

// Writes the pictures for the documentation into docs/ of the source tree. Run on purpose with
// --gtest_also_run_disabled_tests --gtest_filter='*DocPictures*'.
TEST(DocPictures, DISABLED_TitleStoryAndPauseMenu) {
    const std::string docs = SourceDir() + "/docs/";
    {
        GameHarness game;
        ASSERT_TRUE(game.InitGame());
        game.SetFrameRateResults();
        introShown = kTrue;
        for (int i = 1; i <= 10; ++i) {
            hiScoreNames[i] = "";
            hiScoreValues[i] = "0000000";
        }
        const char* names[] = {"OTAKAR", "BARA", "VIT", "ZDENKA", "ALBERT KOS"};
        const char* values[] = {"0048250", "0031600", "0017400", "0009100", "0002500"};
        for (int i = 0; i < 5; ++i) {
            hiScoreNames[i + 1] = names[i];
            hiScoreValues[i + 1] = values[i];
        }
        KeyScript keys(game);
        keys.Tap(dik::kDown).Tap(dik::kDown).Tap(dik::kUp).Tap(dik::kEnter).Tap(dik::kEnter);
        keys.Tap(dik::kEnter).Tap(dik::kSpace);
        RunTitleMenu();
        const auto& screens = keys.PressScreens();
        EXPECT_TRUE(dx::SavePng(docs + "title-menu.png", screens.at(3).data(), 640, 480));
        EXPECT_TRUE(dx::SavePng(docs + "hiscore-table.png", screens.at(4).data(), 640, 480));
        EXPECT_TRUE(dx::SavePng(docs + "story.png", screens.at(6).data(), 640, 480));
    }
    {
        TempGameDir dir;
        WriteLevelOne(dir);
        GameHarness game(dir.Path());
        ASSERT_TRUE(game.InitGame());
        game.SetFrameRateResults();
        KeyScript keys(game);
        keys.Tap(dik::kSpace).TapAfterFrames(dik::kEscape, 40).Tap(dik::kDown);
        keys.Tap(dik::kDown).Tap(dik::kEnter);
        LoadLevel();
        RunLevelLoop();
        EXPECT_TRUE(
            dx::SavePng(docs + "pause-menu.png", keys.PressScreens().at(2).data(), 640, 480));
    }
}

}  // namespace
}  // namespace zorvik::test
