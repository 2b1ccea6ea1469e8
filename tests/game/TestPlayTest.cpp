// SPDX-License-Identifier: GPL-3.0-or-later
// Test-play of one map set (zorvik --level): the command line, the check of the set, and runs
// that end by themselves through the level exit or the pause menu without touching the
// high-score file; a lost focus pauses a level but not an intro card.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "A_deklarace.h"
#include "CommandLine.h"
#include "E_load.h"
#include "Form1.h"
#include "GameHarness.h"
#include "HostileFiles.h"
#include "MenuScript.h"
#include "TestLevel.h"
#include "TestPaths.h"

namespace zorvik::test {
namespace {

namespace fs = std::filesystem;
using Action = GameCommandLine::Action;

// A level whose player starts at column 5, row 3, above ground in row 5 (or row 4).
TestLevel TinyLevel(bool exitBelowStart, int exitCode = 997) {
    TestLevel level;
    level.Ground(exitBelowStart ? 5 : 4);
    level.items[3][5] = 999;
    if (exitBelowStart) level.items[4][5] = exitCode;  // the player falls into it
    return level;
}

std::string WriteSet(TempGameDir& dir, const TestLevel& level) {
    dir.Write("play/tiny.map", TestLevel::Text(level.tiles));
    dir.Write("play/tiny.map.1", TestLevel::Text(level.solid));
    dir.Write("play/tiny.map.2", TestLevel::Text(level.items));
    return dir.File("play/tiny.map");
}

// XDG_DATA_HOME pointed at an empty folder for the test's lifetime.
class UserDataFolder {
  public:
    UserDataFolder() {
        std::string pattern = (fs::temp_directory_path() / "zorvik-xdg-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
        path_ = pattern;
        if (const char* old = std::getenv("XDG_DATA_HOME")) old_ = old;
        setenv("XDG_DATA_HOME", path_.c_str(), 1);
    }
    ~UserDataFolder() {
        if (old_) {
            setenv("XDG_DATA_HOME", old_->c_str(), 1);
        } else {
            unsetenv("XDG_DATA_HOME");
        }
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
    std::optional<std::string> old_;
};

// Starts the game as `zorvik --level <set>` would, on the headless host.
std::optional<int> RunTestPlay(const std::string& set) {
    const GameCommandLine options = ParseGameCommandLine({"--level", set});
    EXPECT_EQ(options.action, Action::Play);
    EXPECT_TRUE(options.windowed);
    EXPECT_EQ(OpenTestLevelSet(options.levelPath), "");
    return GameHarness::RunUntilEnd([] { Form_Load(); });
}

TEST(CommandLine, ReadsTheOptionsAndRejectsTheRestInOneLine) {
    EXPECT_EQ(ParseGameCommandLine({}).action, Action::Play);
    EXPECT_FALSE(ParseGameCommandLine({}).windowed);
    EXPECT_EQ(ParseGameCommandLine({"--help"}).action, Action::Help);
    EXPECT_EQ(ParseGameCommandLine({"-h"}).action, Action::Help);
    EXPECT_EQ(ParseGameCommandLine({"--version"}).action, Action::Version);
    EXPECT_TRUE(ParseGameCommandLine({"--window"}).windowed);
    const GameCommandLine level = ParseGameCommandLine({"--level=a b.map"});
    EXPECT_EQ(level.levelPath, "a b.map");
    EXPECT_TRUE(level.windowed);
    const GameCommandLine prove =
        ParseGameCommandLine({"--prove", "a.map", "--first-route", "--seconds=5"});
    EXPECT_EQ(prove.action, Action::Prove);
    EXPECT_TRUE(prove.firstRoute);
    EXPECT_EQ(prove.proveSeconds, 5);
    EXPECT_FALSE(ParseGameCommandLine({"--prove", "a.map"}).firstRoute);

    const std::vector<std::vector<std::string>> bad = {{"--fullscreen"},
                                                       {"--level"},
                                                       {"--level="},
                                                       {"mapa1.map"},
                                                       {"--window", "-x"},
                                                       {"--first-route"},
                                                       {"--level", "a.map", "--first-route"}};
    for (const auto& args : bad) {
        const GameCommandLine result = ParseGameCommandLine(args);
        EXPECT_EQ(result.action, Action::Error) << args.back();
        EXPECT_NE(result.error, "");
        EXPECT_EQ(result.error.find('\n'), std::string::npos);
    }
    EXPECT_NE(GameUsageText().find("--level"), std::string::npos);
}

TEST(CommandLine, AnUnreadableSetIsNamedInCzechBeforeTheGameStarts) {
    TempGameDir dir;
    const std::string set = WriteSet(dir, TinyLevel(true));
    EXPECT_EQ(OpenTestLevelSet(dir.File("play/none.map")),
              "soubor mapy " + dir.File("play/none.map") + " nelze otevrit");
    dir.Write("play/tiny.map.1", "  1  1\r\n");  // one line instead of eighteen
    EXPECT_EQ(OpenTestLevelSet(set), "soubor mapy " + set + ".1 je kratsi nez 18 radku (ma 1)");
    std::string items = TestLevel::Text(TinyLevel(true).items);
    dir.Write("play/tiny.map.1", TestLevel::Text(TinyLevel(true).solid));
    dir.Write("play/tiny.map.2", items.replace(152 * 2 + 3, 3, "9e9"));  // row 3, column 2
    EXPECT_EQ(OpenTestLevelSet(set),
              "soubor mapy " + set + ".2: cislo ve sloupci 2, radku 3 je mimo rozsah");
    fs::remove(dir.File("play/tiny.map.2"));
    EXPECT_EQ(OpenTestLevelSet(set), "soubor mapy " + set + ".2 nelze otevrit");
    EXPECT_EQ(testLevelPath, "") << "a set that does not load is not kept";
    dir.Write("play/tiny.map.2", TestLevel::Text(TinyLevel(true).items));
    EXPECT_EQ(OpenTestLevelSet(set), "");
    EXPECT_EQ(testLevelPath, set);
    ResetGlobals();
}

TEST(CommandLine, SpecialOrHugeMapFilesAreRefusedAtOnce) {
    TempGameDir dir;
    const std::string set = WriteSet(dir, TinyLevel(true));
    std::string problem;
    EXPECT_EQ(OpenTestLevelSet("/dev/zero"), "soubor mapy /dev/zero neni obycejny soubor");
    MakeFifo(set + ".1");
    EXPECT_TRUE(FinishesWithin(5, set + ".1", [&] { problem = OpenTestLevelSet(set); }));
    EXPECT_EQ(problem, "soubor mapy " + set + ".1 neni obycejny soubor");
    dir.Write("play/tiny.map.1", TestLevel::Text(TinyLevel(true).solid));
    // A hundred megabytes beginning with a sound layer.
    MakeSparseFile(set + ".2", off_t{100} << 20, TestLevel::Text(TinyLevel(true).items));
    EXPECT_EQ(OpenTestLevelSet(set),
              "soubor mapy " + set + ".2 je prilis velky (vice nez 1024 KiB)");
    EXPECT_EQ(testLevelPath, "");
    ResetGlobals();
}

TEST(TestPlay, LeavingThroughTheExitOrTheGoalEndsTheRunWithTheScoresUntouched) {
    for (const int code : {997, 900}) {
        TempGameDir dir;
        UserDataFolder user;
        const std::string set = WriteSet(dir, TinyLevel(true, code));
        const std::string scoresBefore = FileBytes(dir.File("data/012.dat"));
        GameHarness game(dir.Path());
        game.Host().SetTimeLimitMs(120000);
        game.Press(dik::kSpace);  // past the intro card; Space does nothing in the level

        EXPECT_EQ(RunTestPlay(set), 0) << code;
        EXPECT_EQ(FileBytes(dir.File("data/012.dat")), scoresBefore) << code;
        EXPECT_FALSE(fs::exists(dir.File("data/012.dat.tmp"))) << code;
        EXPECT_TRUE(fs::is_empty(user.Path())) << code;  // no per-user table either
        EXPECT_EQ(levelNumber, 1) << code;
        EXPECT_TRUE(game.Host().Messages().empty()) << code;
    }
}

// A game folder and a headless game played by a key script, for runs of one set.
class TestPlayRun : public ::testing::Test {
  protected:
    TestPlayRun() { game.Host().SetTimeLimitMs(120000); }
    TempGameDir dir;
    GameHarness game{dir.Path()};
    KeyScript keys{game};
};

TEST_F(TestPlayRun, FocusLostInTheLevelOpensThePauseMenuWhereGivingUpEndsTheRun) {
    const std::string set = WriteSet(dir, TinyLevel(false));
    keys.Tap(dik::kSpace).Tap(dik::kDown).Tap(dik::kDown).Tap(dik::kEnter);
    long lostAt = -1;
    const auto script = game.onKeyboardRead;
    game.onKeyboardRead = [&](dx::HeadlessHost& host) {
        // Two seconds into the level the player switches to another window.
        if (lostAt < 0 && keys.Done() == 1 && host.Frames() >= keys.PressFrames()[0] + 120) {
            lostAt = host.Frames();
            host.LoseFocus();
        }
        script(host);
    };

    EXPECT_EQ(RunTestPlay(set), 0);  // "ZPE*T DO MENU" ends test-play with no end screen
    EXPECT_TRUE(keys.Finished());
    ASSERT_GE(lostAt, 0);
    EXPECT_GT(keys.PressFrames()[1], lostAt);  // the menu waited for the arrow after the loss
}

TEST_F(TestPlayRun, TheSetIsReadOnceSoARestartNeedsNoFiles) {
    const std::string set = WriteSet(dir, TinyLevel(false));
    // Into the level, the pause menu's "OPAKOVAT LEVEL", the card again, then "ZPE*T DO MENU".
    keys.Tap(dik::kSpace).TapAfterFrames(dik::kEscape, 60).Tap(dik::kDown).Tap(dik::kEnter);
    keys.Tap(dik::kSpace).TapAfterFrames(dik::kEscape, 60).Tap(dik::kDown).Tap(dik::kDown);
    keys.Tap(dik::kEnter);
    ASSERT_EQ(OpenTestLevelSet(set), "");
    fs::remove_all(dir.File("play"));  // the editor quit and took its folder with it

    EXPECT_EQ(GameHarness::RunUntilEnd([] { Form_Load(); }), 0);
    EXPECT_TRUE(keys.Finished());
    EXPECT_TRUE(game.Host().Messages().empty());
}

TEST_F(TestPlayRun, FocusLostOnTheIntroCardChangesNothing) {
    const std::string set = WriteSet(dir, TinyLevel(true));
    keys.Tap(dik::kSpace);
    const auto script = game.onKeyboardRead;
    game.onKeyboardRead = [&](dx::HeadlessHost& host) {
        if (keys.Done() == 0) host.LoseFocus();  // while the card waits for Space
        script(host);
    };
    // No pause menu waits for a key: the player falls into the exit on its own.
    EXPECT_EQ(RunTestPlay(set), 0);
}

}  // namespace
}  // namespace zorvik::test
