// SPDX-License-Identifier: GPL-3.0-or-later
// The shipped campaign played headless with the replays in tests/replays: every level from its
// start to its exit (the last to its goal), and the whole game from the title menu to the name
// entry. Also the trace used to write replays and the table of every level's measures (both
// disabled; see ReplayTrace and CampaignTable below).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "A_deklarace.h"
#include "Form1.h"
#include "LevelMeasures.h"
#include "MapText.h"
#include "MenuScript.h"
#include "N_HI_Score.h"
#include "ReplayPlayer.h"
#include "TestPaths.h"

namespace zorvik::test {
namespace {

namespace fs = std::filesystem;

// Levels 1..n of the campaign: consecutive map files in the game folder's map/.
int LevelCount(const std::string& gameDir) {
    int n = 0;
    while (fs::exists(gameDir + "/map/mapa" + std::to_string(n + 1) + ".map"))
        ++n;
    return n;
}

// One of a level's three map files (0 tiles, 2 objects) as the shared level rules read it.
levelrules::Layer MapLayer(const std::string& gameDir, int level, int layer) {
    const std::string suffix = layer == 0 ? "" : "." + std::to_string(layer);
    std::ifstream in(gameDir + "/map/mapa" + std::to_string(level) + ".map" + suffix,
                     std::ios::binary);
    levelrules::Layer cells;
    for (const std::string& line : maptext::ReadLines(in)) {
        for (int column = 1; column <= levelrules::kColumns; ++column)
            cells.push_back(static_cast<int>(maptext::CellValue(line, column)));
    }
    return cells;
}

// The campaign ends in the level whose map holds the goal.
bool HasGoal(const std::string& gameDir, int level) {
    const auto items = MapLayer(gameDir, level, 2);
    return std::find(items.begin(), items.end(), 900) != items.end();
}

std::vector<int> Levels() {
    std::vector<int> levels;
    for (int n = 1; n <= LevelCount(DistDir()); ++n)
        levels.push_back(n);
    return levels;
}

class CampaignLevelTest : public ::testing::TestWithParam<int> {};

// Each level is played twice: from the clock's phase the harness starts with and from one
// shifted by half a frame, since a level starts at whatever phase the previous one left.
TEST_P(CampaignLevelTest, ReplayReachesTheExitWithTheExpectedScore) {
    const int level = GetParam();
    const bool last = HasGoal(DistDir(), level);
    const Replay replay = LoadReplay(ReplayPath(level));
    ASSERT_GE(replay.expectScore, 0) << "the replay must say its expect-score";
    for (const double shiftMs : {0.0, 8.5}) {
        SCOPED_TRACE("clock shifted by " + std::to_string(shiftMs) + " ms");
        GameHarness game;
        ASSERT_TRUE(game.InitGame());
        game.SetFrameRateResults();
        game.Host().AdvanceMs(shiftMs);
        const LevelRun run = PlayLevel(game, level, replay);
        if (last) {
            EXPECT_TRUE(run.won) << "the last level ends at its goal";
        } else {
            EXPECT_TRUE(run.left) << "the level is left through its exit";
            EXPECT_EQ(levelNumber, level + 1);
        }
        EXPECT_FALSE(run.lost);
        EXPECT_EQ(run.scoreGained, replay.expectScore);
        EXPECT_EQ(run.deaths, replay.expectDeaths);
        for (size_t i = 0; i < replay.expectTaken.size(); ++i) {
            const Replay::Spot& s = replay.expectTaken[i];
            EXPECT_TRUE(run.taken[i]) << "the pickup at col " << s.col << " row " << s.row;
        }
        EXPECT_TRUE(game.Host().Messages().empty());
        std::printf("level %d: %ld steps, %ld frames, score %ld\n", level, run.steps, run.frames,
                    run.scoreGained);
    }
}

INSTANTIATE_TEST_SUITE_P(Campaign, CampaignLevelTest, ::testing::ValuesIn(Levels()),
                         [](const ::testing::TestParamInfo<int>& p) {
                             return "Level" + std::to_string(p.param);
                         });

// Every level source ships as a map with a replay, and only the last level holds the goal.
TEST(CampaignTest, EveryLevelShipsWithAReplayAndOnlyTheLastHoldsTheGoal) {
    const int count = LevelCount(DistDir());
    int sources = 0;
    while (fs::exists(SourceDir() + "/levels/level" + std::to_string(sources + 1) + ".txt"))
        ++sources;
    EXPECT_GE(count, 8);
    EXPECT_EQ(count, sources);
    for (int n = 1; n <= count; ++n) {
        EXPECT_TRUE(fs::exists(ReplayPath(n))) << "level " << n << " has no replay";
        EXPECT_EQ(HasGoal(DistDir(), n), n == count) << "level " << n;
    }
}

// From Form_Load: the frame-rate test, the title menu ("NOVA- HRA"), the story, every level in
// turn, the victory screen, the name entry and the high-score table written to the file.
TEST(CampaignTest, WholeGameFromTheTitleMenuToTheHighScoreTable) {
    TempGameDir dir;
    const int count = LevelCount(dir.Path());
    ASSERT_GE(count, 1);
    GameHarness game(dir.Path());
    game.Host().SetTimeLimitMs(20.0 * 60 * 1000);

    long expected = 0;
    int expectedDeaths = 0;
    ReplayPlayer player(game);
    for (int n = 1; n <= count; ++n) {
        const Replay replay = LoadReplay(ReplayPath(n));
        expected += replay.expectScore;
        expectedDeaths += replay.expectDeaths;
        player.AddNext(n, replay);
    }
    ASSERT_LT(expectedDeaths, 3) << "the replays together must not cost every life";

    // Two key scripts around the levels: the menu before, the end screens after.
    KeyScript before(game);
    before.Tap(dik::kEnter).TapAfterFrames(dik::kEscape, 30);
    auto beforeHook = game.onKeyboardRead;
    KeyScript after(game);
    after
        .Tap(dik::kSpace)  // the victory screen
        .Tap(dik::kB)
        .Tap(dik::kO)
        .Tap(dik::kT)
        .Tap(dik::kA)
        .Tap(dik::kEnter)  // the name
        .Tap(dik::kDown)
        .Tap(dik::kDown)
        .Tap(dik::kDown)
        .Tap(dik::kEnter);  // quit from the title menu
    auto afterHook = game.onKeyboardRead;
    enum class Phase { Menu, Levels, End } phase = Phase::Menu;
    game.onKeyboardRead = [&](dx::HeadlessHost& host) {
        if (phase == Phase::Menu) {
            beforeHook(host);
            // Hand over once the last key of the menu script has been pressed and released.
            if (!before.Finished() || host.KeyDown(dik::kEscape)) return;
            phase = Phase::Levels;
            player.Start(1);  // the story is over: level 1's intro card comes next
        }
        if (phase == Phase::Levels) {
            player.OnKeyboardRead(host);
            if (player.Playing()) return;
            phase = Phase::End;
        }
        afterHook(host);
    };
    std::optional<int> status;
    bool stopped = false, timedOut = false;
    try {
        status = GameHarness::RunUntilEnd([] { Form_Load(); });
    } catch (const ReplayPlayer::Stop&) {
        stopped = true;
    } catch (const dx::HeadlessTimeout&) {
        timedOut = true;
    }
    game.onKeyboardRead = nullptr;
    for (const LevelRun& run : player.Runs()) {
        std::printf("campaign level %d: %ld steps, %ld frames, score %ld, deaths %d%s\n", run.level,
                    run.steps, run.frames, run.scoreGained, run.deaths,
                    run.left  ? ""
                    : run.won ? ", goal"
                              : " (did not leave)");
    }
    ASSERT_FALSE(stopped) << "a replay got stuck in level " << player.Runs().back().level;
    ASSERT_FALSE(timedOut) << "the game hung in phase " << static_cast<int>(phase) << ", level "
                           << levelNumber << ", after " << player.Runs().size() << " levels";
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 0);
    EXPECT_TRUE(game.Host().Messages().empty());

    const auto& runs = player.Runs();
    ASSERT_EQ(static_cast<int>(runs.size()), count);
    long total = 0;
    for (const LevelRun& run : runs) {
        SCOPED_TRACE("level " + std::to_string(run.level));
        total += run.scoreGained;
        if (run.level < count) {
            EXPECT_TRUE(run.left);
        }
    }
    EXPECT_TRUE(runs.back().won);
    EXPECT_TRUE(after.Finished());
    EXPECT_EQ(total, expected);

    // The table read back from the file holds the name with the campaign's score.
    for (int i = 1; i <= 10; ++i) {
        hiScoreNames[i] = "";
        hiScoreValues[i] = "";
    }
    ASSERT_TRUE(LoadHiScores());
    bool found = false;
    for (int i = 1; i <= 10; ++i) {
        if (hiScoreNames[i] == "BOTA") {
            found = true;
            EXPECT_EQ(std::stol(hiScoreValues[i]), expected);
        }
    }
    EXPECT_TRUE(found);
}

std::string Env(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != 0 ? v : fallback;
}

// Where each figure enemy stands ("col:x", "-" when destroyed), each stone lies ("o" col,row)
// and how high each board stands ("b" pixels, 219 closed).
std::string Figures() {
    std::string text;
    for (int i = 1; i <= figureEnemyCount && i < static_cast<int>(figureEnemies.size()); ++i) {
        const FigureEnemy& e = figureEnemies[static_cast<size_t>(i)];
        text += e.alive != 0 ? " " + std::to_string(e.col) + ":" + std::to_string(e.xInCell)
                             : std::string(" -");
    }
    for (int i = 1; i <= stoneCount && i < static_cast<int>(stones.size()); ++i) {
        const Stone& st = stones[static_cast<size_t>(i)];
        text += " o" + std::to_string(st.column) + "," + std::to_string(st.row);
    }
    for (int i = 1; i <= boardCount && i < static_cast<int>(boards.size()); ++i) {
        // A board's height, then whether its three cells are solid (1) or not (0).
        const Board& b = boards[static_cast<size_t>(i)];
        text += " b" + std::to_string(b.height) + "[";
        for (int r = b.topRow; r <= b.topRow + 2; ++r)
            text += mapSolid(b.column, r) != 0 ? '1' : '0';
        text += "]";
    }
    return text;
}

std::string KeysText(const Replay::Segment* seg) {
    if (seg == nullptr) return "end";
    std::string k;
    if (seg->left) k += 'L';
    if (seg->right) k += 'R';
    if (seg->up) k += 'U';
    if (seg->ctrl) k += 'C';
    if (seg->shift) k += 'S';
    return k.empty() ? "-" : k;
}

// The tool for writing replays: plays one level with its replay and prints the player's state
// after every step (or every ZORVIK_TRACE_EVERY steps, and at each new replay line), then the
// result. The maps come from the source tree's map/ (what tools/mapc just wrote), so a level
// can be edited and traced without rebuilding. Run on purpose:
//   ZORVIK_TRACE_LEVEL=3 [ZORVIK_TRACE_REPLAY=file] [ZORVIK_TRACE_EVERY=10]
//   [ZORVIK_TRACE_PNG=dir ZORVIK_TRACE_PNG_EVERY=50] [ZORVIK_TRACE_LIVES=1] game_tests
//   --gtest_also_run_disabled_tests --gtest_filter='ReplayTrace.*'
TEST(ReplayTrace, DISABLED_PlayOneLevelAndPrintEveryStep) {
    const int level = std::atoi(Env("ZORVIK_TRACE_LEVEL", "1").c_str());
    const Replay replay = LoadReplay(Env("ZORVIK_TRACE_REPLAY", ReplayPath(level)));
    const long every = std::atol(Env("ZORVIK_TRACE_EVERY", "1").c_str());
    const std::string pngDir = Env("ZORVIK_TRACE_PNG", "");
    const long pngEvery = std::atol(Env("ZORVIK_TRACE_PNG_EVERY", "50").c_str());
    const std::string maps = Env("ZORVIK_TRACE_MAPS", SourceDir() + "/map");
    TempGameDir dir;
    for (const auto& entry : fs::directory_iterator(maps)) {
        dir.Write("map/" + entry.path().filename().string(), FileBytes(entry.path().string()));
    }
    GameHarness game(dir.Path());
    // A prover's way into a dead end may be hours of play; the replay's own end stops the run.
    game.Host().SetTimeLimitMs(48.0 * 3600 * 1000);
    ASSERT_TRUE(game.InitGame());
    game.SetFrameRateResults();
    if (!pngDir.empty()) fs::create_directories(pngDir);
    // A prover's replay counts no lives: with ZORVIK_TRACE_LIVES set, the lives stay full.
    const bool keepLives = !Env("ZORVIK_TRACE_LIVES", "").empty();
    int lastLine = -1;
    auto onStep = [&](long step, const Replay::Segment* seg) {
        if (keepLives) lives = 3;
        const int line = seg != nullptr ? seg->line : 0;
        if ((every > 0 && step % every == 0) || line != lastLine) {
            std::printf(
                "step %5ld frame %6ld line %3d %-4s | col %2d row %2d x %5.1f y %5.1f | st %d "
                "busy %d frame %3d jump %d fall %d | score %6d lives %d beam %d objects%s\n",
                step, game.Host().Frames(), line, KeysText(seg).c_str(), playerCol, playerRow,
                playerOffsetX, playerOffsetY, playerState, playerBusy, playerFrame, playerJumping,
                playerFalling, score, lives, beamCharges, Figures().c_str());
        }
        lastLine = line;
        if (!pngDir.empty() && pngEvery > 0 && step % pngEvery == 0) {
            char name[64];
            std::snprintf(name, sizeof name, "/level%d-step%05ld.png", level, step);
            game.SaveFramePng(pngDir + name);
        }
    };
    const LevelRun run = PlayLevel(game, level, replay, onStep);
    std::printf(
        "result: %s after %ld steps (%ld frames), score %ld (expected %ld), deaths %d "
        "(expected %d); replay holds %ld steps\n",
        run.left   ? "exit"
        : run.won  ? "goal"
        : run.lost ? "game lost"
                   : "stuck",
        run.steps, run.frames, run.scoreGained, replay.expectScore, run.deaths, replay.expectDeaths,
        replay.TotalSteps());
}

// The table of every shipped level: how much of it lies in rows 1..10, its highest star, its
// stars and bonuses, and the length of its replay. Run on purpose:
//   game_tests --gtest_also_run_disabled_tests --gtest_filter='CampaignTable.*'
TEST(CampaignTable, DISABLED_PrintsEveryLevelsMeasuresAndReplayLength) {
    const int count = LevelCount(DistDir());
    std::printf(
        "| Level | Used cells in rows 1-10 | Highest star row | Stars | 500 | 2500 | Replay "
        "frames | Replay score | Longest stretch |\n|---|---|---|---|---|---|---|---|---|\n");
    for (int n = 1; n <= count; ++n) {
        const auto m =
            levelrules::MeasureLevel(MapLayer(DistDir(), n, 0), MapLayer(DistDir(), n, 2));
        GameHarness game;
        ASSERT_TRUE(game.InitGame());
        game.SetFrameRateResults();
        const LevelRun run = PlayLevel(game, n, LoadReplay(ReplayPath(n)));
        std::printf("| %d | %.1f %% (%d of %d) | %d | %d | %d | %d | %ld%s | %ld | %.0f s |\n", n,
                    m.UpperShare(), m.usedInUpperRows, m.usedCells, m.highestStarRow, m.stars,
                    m.bonuses, m.bigBonuses, run.frames, run.left || run.won ? "" : " (stuck)",
                    run.scoreGained, static_cast<double>(run.longestStretch) / 60.0);
    }
}

}  // namespace
}  // namespace zorvik::test
