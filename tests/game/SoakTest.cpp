// SPDX-License-Identifier: GPL-3.0-or-later
// Long play with random keys over every level: dying, pausing, restarting from the pause menu,
// leaving to the title and moving between levels, with the game's invariants checked on every
// frame, and the resident memory sampled as it goes. ZORVIK_SOAK_FRAMES sets the length (a few
// thousand frames by default; scripts/soak.sh runs 100 000 under the sanitizers) and
// ZORVIK_SOAK_MEMORY_EVERY the frames between two memory samples (scripts/memsoak.sh: 1000).
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "A_deklarace.h"
#include "B_inicializuj.h"
#include "C_mainloop.h"
#include "E_load.h"
#include "GameHarness.h"
#include "TestLevel.h"

namespace zorvik::test {
namespace {

constexpr int kEscape = 1;
constexpr int kEnter = 28;
constexpr int kDown = 208;
// Keys of play, pressed at random: Left, Right, Up, both Ctrl, both Shift, Space.
constexpr int kPlayKeys[] = {203, 205, 200, 29, 157, 42, 54, 57};

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

long EnvLong(const char* name, long fallback) {
    const char* text = std::getenv(name);
    if (text == nullptr || *text == '\0') return fallback;
    return std::max(1L, std::strtol(text, nullptr, 10));
}

// Resident memory of this process, in KiB.
long ResidentKiB() {
    std::ifstream in("/proc/self/statm");
    long size = 0;
    long resident = 0;
    in >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Least-squares slope of the samples, in KiB per sample.
double Slope(const std::vector<long>& samples) {
    const double n = static_cast<double>(samples.size());
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        const double x = static_cast<double>(i);
        const double y = static_cast<double>(samples[i]);
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    const double d = n * sxx - sx * sx;
    return d == 0 ? 0.0 : (n * sxy - sx * sy) / d;
}

long SoakFrames() {
    const char* text = std::getenv("ZORVIK_SOAK_FRAMES");
    if (text == nullptr || *text == '\0') return 3000;
    return std::max(1L, std::strtol(text, nullptr, 10));
}

// Two levels for a game folder without shipped maps: stars, a stone, a board and its platform,
// enemies of both kinds, pits, a beam refill and a red signpost; the first leaves to the second
// at its right end, the second is won there.
void WriteStandInLevels(TempGameDir& dir) {
    for (int number = 1; number <= 2; ++number) {
        TestLevel level;
        level.Ground(15);
        level.Pit(15, 20, 22);
        level.Pit(15, 35, 36);
        auto& items = level.items;
        items[14][3] = 999;
        items[14][2] = 55;
        for (int c = 6; c <= 12; ++c)
            items[12][c] = 40;
        items[13][14] = 51;
        items[13][16] = 53;
        items[14][25] = 20;        // a stone on the ground
        level.tiles[15][28] = 14;  // platform lowering board 1
        items[15][28] = 1;
        level.tiles[15][31] = 18;  // board housing 1 with its gate above
        items[15][31] = 1;
        items[14][18] = 41 + number;  // flexible enemies
        items[14][40] = 47;
        items[14][33] = 56;  // figures
        items[14][44] = 57;
        items[14][49] = number == 1 ? 997 : 900;
        level.Write(dir, number);
    }
}

// Levels mapa1, mapa2, ... that exist in a game folder, counted from 1 until one is missing.
int CountLevels(const std::string& folder) {
    int count = 0;
    while (std::filesystem::exists(folder + "/map/mapa" + std::to_string(count + 1) + ".map"))
        ++count;
    return count;
}

struct Exit {
    int col;
    int row;
};

// Cells holding the exit to the next level or the final goal.
std::vector<Exit> FindExits() {
    std::vector<Exit> exits;
    for (int row = 1; row <= 18; ++row) {
        for (int col = 1; col <= 50; ++col) {
            if (mapItems(col, row) == 997 || mapItems(col, row) == 900) exits.push_back({col, row});
        }
    }
    return exits;
}

// What the soak saw, for the report.
struct Tally {
    long frames = 0;
    long deaths = 0;
    long pauses = 0;
    long restarts = 0;
    long backToTitle = 0;
    long levelsEntered = 0;
    long wins = 0;
    long losses = 0;
    long teleports = 0;
    std::vector<long> framesPerLevel;
};

// The invariants of one frame; the first broken one is reported with the frame number.
std::string BrokenInvariant(int levelCount) {
    if (playerCol < 1 || playerCol > 50 || playerRow < 1 || playerRow > 18) {
        return "player cell (" + std::to_string(playerCol) + ", " + std::to_string(playerRow) +
               ") outside the map";
    }
    if (levelNumber < 1 || levelNumber > levelCount) {
        return "level number " + std::to_string(levelNumber);
    }
    if (stoneCount < 0 || stoneCount >= static_cast<int>(stones.size())) return "stone count";
    if (boardCount < 0 || boardCount > static_cast<int>(boards.size())) return "board count";
    if (flexEnemyCount < 0 || flexEnemyCount >= static_cast<int>(flexEnemies.size())) {
        return "flexible enemy count";
    }
    if (figureEnemyCount < 0 || figureEnemyCount >= static_cast<int>(figureEnemies.size())) {
        return "figure enemy count";
    }
    for (int i = 1; i <= stoneCount; ++i) {
        const Stone& s = stones[static_cast<size_t>(i)];
        if (s.column < 0 || s.column > 51 || s.row < 0 || s.row > 19) {
            return "stone " + std::to_string(i) + " outside the map";
        }
    }
    for (int i = 1; i <= flexEnemyCount; ++i) {
        const FlexEnemy& e = flexEnemies[static_cast<size_t>(i)];
        if (e.col < 0 || e.col > 51 || e.row < 0 || e.row > 19) return "flexible enemy cell";
    }
    for (int i = 1; i <= figureEnemyCount; ++i) {
        const FigureEnemy& e = figureEnemies[static_cast<size_t>(i)];
        if (e.col < 0 || e.col > 51 || e.row < 0 || e.row > 19) return "figure enemy cell";
    }
    for (int col = 0; col <= 51; ++col) {
        if (mapSolid(col, 0) != 1 || mapSolid(col, 19) != 1) return "mapSolid frame row broken";
    }
    for (int row = 0; row <= 19; ++row) {
        if (mapSolid(0, row) != 1 || mapSolid(51, row) != 1) return "mapSolid frame column broken";
    }
    // -1 only in the frame that loses the game, which ends the level loop.
    if (lives < -1 || lives > 6 || (lives == -1 && gameLost == 0)) {
        return "lives " + std::to_string(lives);
    }
    if (score < 0 || score > 9999999) return "score " + std::to_string(score);
    if (beamCharges < 0 || beamCharges > 7) return "beam charges " + std::to_string(beamCharges);
    return {};
}

// Drives the game: random held keys on the virtual clock (so loops that poll without flipping,
// like the level card waiting for Space, get keys too), now and then Escape and a scripted
// pause-menu choice, and now and then a jump straight onto an exit.
class Driver {
  public:
    explicit Driver(uint32_t seed) : rng_(seed) {}

    void OnKeyboardRead(dx::HeadlessHost& host) {
        const double now = host.NowExactMs();
        if (menuEndMs_ > now) {
            PlayMenuScript(host, now);
            return;
        }
        if (now >= nextChangeMs_) ChangeKeys(host, now);
        // Between frames of the level loop only: one read per flip there.
        if (host.Frames() != lastFrame_) {
            lastFrame_ = host.Frames();
            if (host.Frames() - gameStartFrame >= gameFrames)
                OpenMenu(host, now, kBackToTitle);
            else if (Chance(1.0 / 2500))
                OpenMenu(host, now);
            else if (Chance(1.0 / 1500))
                JumpToExit();
        }
    }

    Tally tally;
    // Each game gets a share of the frames; past it the driver leaves to the title, so that
    // every level gets its turn however long a game would otherwise survive.
    long gameStartFrame = 0;
    long gameFrames = 1000;

  private:
    static constexpr int kBackToTitle = 2;

    bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }

    void ChangeKeys(dx::HeadlessHost& host, double now) {
        host.SetKey(kEscape, false);
        host.SetKey(kEnter, false);
        host.SetKey(kDown, false);
        for (const int key : kPlayKeys)
            host.SetKey(key, Chance(0.3));
        nextChangeMs_ = now + std::uniform_real_distribution<double>(30, 600)(rng_);
    }

    // Escape for one frame, then after the menu has flown in: Down 0..2 times and Enter, so
    // the choice is go on, restart the level or back to the title (never quit the program);
    // random unless `downs` is given.
    void OpenMenu(dx::HeadlessHost& host, double now, int downs = -1) {
        for (const int key : kPlayKeys)
            host.SetKey(key, false);
        host.SetKey(kEscape, true);
        script_.clear();
        if (downs < 0) {
            const int choice = std::uniform_int_distribution<int>(0, 9)(rng_);
            downs = choice < 6 ? 0 : choice < 9 ? 1 : 2;
        }
        double at = now + 2000;
        for (int i = 0; i < downs; ++i, at += 700)
            script_.push_back({at, kDown, false});
        script_.push_back({at, kEnter, false});
        menuEndMs_ = at + 400;
        ++tally.pauses;
        if (downs == 1) ++tally.restarts;
        if (downs == 2) ++tally.backToTitle;
    }

    void PlayMenuScript(dx::HeadlessHost& host, double now) {
        host.SetKey(kEscape, host.KeyDown(kEscape) && host.Frames() == lastFrame_);
        host.SetKey(kDown, false);
        host.SetKey(kEnter, false);
        // Each key is reported on exactly one read, so the menu moves once for it.
        for (Step& step : script_) {
            if (!step.done && now >= step.at) {
                host.SetKey(step.key, true);
                step.done = true;
                break;
            }
        }
    }

    void JumpToExit() {
        const std::vector<Exit> exits = FindExits();
        if (exits.empty()) return;
        const Exit& e = exits[std::uniform_int_distribution<size_t>(0, exits.size() - 1)(rng_)];
        playerCol = static_cast<int16_t>(e.col);
        playerRow = static_cast<int16_t>(e.row);
        playerOffsetX = 35;
        playerOffsetY = 40;
        ++tally.teleports;
    }

    struct Step {
        double at;
        int key;
        bool done = false;
    };
    std::mt19937 rng_;
    double nextChangeMs_ = 0;
    double menuEndMs_ = 0;
    long lastFrame_ = -1;
    std::vector<Step> script_;
};

TEST(Soak, RandomPlayOverEveryLevelKeepsTheGameInsideItsTables) {
    const long target = SoakFrames();
    const long memoryEvery = EnvLong("ZORVIK_SOAK_MEMORY_EVERY", std::max(1L, target / 12));
    std::vector<long> residentKiB;
    TempGameDir dir;
    int levelCount = CountLevels(dir.Path());
    if (levelCount == 0) {
        WriteStandInLevels(dir);
        levelCount = CountLevels(dir.Path());
    }
    ASSERT_GT(levelCount, 0);

    GameHarness game(dir.Path());
    ASSERT_TRUE(game.InitGame());
    game.SetFrameRateResults();
    // A generous bound on the virtual clock: a hang anywhere runs into it.
    game.Host().SetTimeLimitMs(static_cast<double>(target) * 60.0 + 120000.0);

    Driver driver(20261208u);
    Tally& tally = driver.tally;
    driver.gameFrames = std::max(300L, target / levelCount);
    tally.framesPerLevel.assign(static_cast<size_t>(levelCount) + 1, 0);
    std::string broken;
    long brokenFrame = -1;
    int16_t lastLives = 0;
    // The first level card is shown before any map is loaded; from the first load on, every
    // frame has a level.
    bool loaded = false;
    game.onKeyboardRead = [&](dx::HeadlessHost& host) { driver.OnKeyboardRead(host); };
    game.Host().onFlip = [&](dx::HeadlessHost& host, const uint16_t*) {
        // Level cards and menus flip too; the invariants hold on every one of them.
        ++tally.frames;
        if (tally.frames % memoryEvery == 0) residentKiB.push_back(ResidentKiB());
        if (levelNumber >= 1 && levelNumber <= levelCount)
            ++tally.framesPerLevel[static_cast<size_t>(levelNumber)];
        if (lives < lastLives) ++tally.deaths;
        lastLives = lives;
        if (loaded && broken.empty()) {
            broken = BrokenInvariant(levelCount);
            if (!broken.empty()) brokenFrame = host.Frames();
        }
    };

    const auto started = std::chrono::steady_clock::now();
    int nextLevel = 1;
    // Until the frame target is reached and every level has started a game.
    while ((tally.frames < target || tally.levelsEntered < levelCount) && broken.empty()) {
        // A new game, from a level chosen in turn, as the title menu would start it.
        ResetNewGame();
        driver.gameStartFrame = game.Host().Frames();
        levelNumber = static_cast<int16_t>(nextLevel);
        lastLives = lives;
        ++tally.levelsEntered;
        LoadLevel();
        loaded = true;
        RunLevelLoop();
        if (levelWon != 0) ++tally.wins;
        if (gameLost != 0) ++tally.losses;
        nextLevel = nextLevel % levelCount + 1;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    game.onKeyboardRead = nullptr;
    game.Host().onFlip = nullptr;

    EXPECT_EQ(broken, "") << "at frame " << brokenFrame;
    EXPECT_GE(tally.frames, target);
    EXPECT_TRUE(game.Host().Messages().empty());
    for (int level = 1; level <= levelCount; ++level) {
        EXPECT_GT(tally.framesPerLevel[static_cast<size_t>(level)], 0) << "level " << level;
    }
    std::printf(
        "soak: %ld frames in %.1f s over %d levels; %ld deaths, %ld pauses (%ld restarts, "
        "%ld back to the title), %ld games started, %ld won, %ld lost, %ld jumps to an "
        "exit\n",
        tally.frames, seconds, levelCount, tally.deaths, tally.pauses, tally.restarts,
        tally.backToTitle, tally.levelsEntered, tally.wins, tally.losses, tally.teleports);

    // Memory: the first sample holds the start-up; from the second on, what a long game adds.
    std::printf("soak memory (MiB, every %ld frames):", memoryEvery);
    for (const long kib : residentKiB)
        std::printf(" %.2f", static_cast<double>(kib) / 1024.0);
    std::printf("\n");
    if (residentKiB.size() >= 4) {
        const std::vector<long> settled(residentKiB.begin() + 1, residentKiB.end());
        const auto [low, high] = std::minmax_element(settled.begin(), settled.end());
        std::printf(
            "soak memory: from %.2f to %.2f MiB after the first sample, peak %.2f MiB, "
            "trend %+.1f KiB per 1000 frames\n",
            static_cast<double>(settled.front()) / 1024.0,
            static_cast<double>(settled.back()) / 1024.0, static_cast<double>(*high) / 1024.0,
            Slope(settled) * 1000.0 / static_cast<double>(memoryEvery));
        // The sanitizers hold freed memory back on purpose; only a plain build shows a trend.
        if (!kSanitized) {
            EXPECT_LE(settled.back() - *low, 2048) << "resident memory grew by more than 2 MiB";
        }
    }
}

}  // namespace
}  // namespace zorvik::test
