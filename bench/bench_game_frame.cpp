// SPDX-License-Identifier: GPL-3.0-or-later
// Game frame: background, world (boards, stones and enemies running), player and status line
// on a busy level with the camera in the middle, and on the busiest view of the shipped
// campaign, each against a memset + memcpy of the same bytes.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "A_deklarace.h"
#include "BenchSupport.h"
#include "E_load.h"
#include "F_Vykresli.h"
#include "GameHarness.h"
#include "H_Score_atd.h"

namespace {

using namespace zorvik;

struct World {
    test::TempGameDir dir;
    std::unique_ptr<test::GameHarness> game;
    GameState start;

    World() {
        const bench::BusyLevel level = bench::MakeBusyLevel();
        dir.Write("map/mapa1.map", level.tiles);
        dir.Write("map/mapa1.map.1", level.solid);
        dir.Write("map/mapa1.map.2", level.items);
        game = std::make_unique<test::GameHarness>(dir.Path());
        game->InitGame();
        game->SetFrameRateResults();
        levelNumber = 1;
        ReadLevelMap();
        start = state;
    }
};

World& TheWorld() {
    static World world;
    return world;
}

void Frame() {
    DrawBackground();
    DrawWorld();
    DrawPlayerAndPickups();
    DrawStatusLine();
}

// Bytes one frame fills and copies, averaged over the frames of the last game-frame run.
double g_filled = 0;
double g_copied = 0;

// Times frames from `start`, and records the bytes one frame fills and copies on average.
template <class Start>
void RunFrames(benchmark::State& st, const Start& start, double& filledPerFrame,
               double& copiedPerFrame) {
    state = start;
    auto& platform = dx::detail::State();
    const auto filled0 = platform.bytesFilled;
    const auto copied0 = platform.bytesCopied;
    long frames = 0;
    for (auto _ : st) {
        Frame();
        // The enemies walk away over time; start again from the loaded level now and then.
        if (++frames % 600 == 0) {
            st.PauseTiming();
            state = start;
            st.ResumeTiming();
        }
    }
    filledPerFrame =
        static_cast<double>(platform.bytesFilled - filled0) / static_cast<double>(frames);
    copiedPerFrame =
        static_cast<double>(platform.bytesCopied - copied0) / static_cast<double>(frames);
    st.counters["MiB_written"] = (filledPerFrame + copiedPerFrame) / (1024.0 * 1024.0);
}

void BM_GameFrame(benchmark::State& st) {
    RunFrames(st, TheWorld().start, g_filled, g_copied);
}
BENCHMARK(BM_GameFrame)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The busiest view of the shipped campaign: every level's every camera position (columns
// 0..41, rows 0..11 of the drawn block of 12 x 10 cells) scored by the objects, stones,
// boards and enemies in the block, the level loaded and the player placed so the camera
// lands on the best one.
struct CampaignWorld {
    test::TempGameDir dir;
    std::unique_ptr<test::GameHarness> game;
    GameState start;
    int level = 0;
    int viewCol = 0;
    int viewRow = 0;
    int things = -1;
    int levels = 0;

    static int Score(int col0, int row0) {
        const auto inBlock = [&](int col, int row) {
            return col >= col0 && col <= col0 + 11 && row >= row0 && row <= row0 + 9;
        };
        int count = 0;
        for (int row = row0; row <= row0 + 9 && row <= 19; ++row) {
            for (int col = col0; col <= col0 + 11 && col <= 51; ++col) {
                const int32_t item = mapItems(col, row);
                if (item == 40 || (item >= 51 && item <= 55) || item == 900) {
                    ++count;  // stars, refills, signposts, the goal
                }
            }
        }
        for (int i = 1; i <= stoneCount; ++i) {
            const Stone& st = stones[static_cast<size_t>(i)];
            count += inBlock(st.column, st.row) ? 1 : 0;
        }
        for (const Board& b : boards)
            count += b.column != 0 && inBlock(b.column, b.topRow + 2) ? 1 : 0;
        for (int i = 1; i <= flexEnemyCount; ++i) {
            const FlexEnemy& e = flexEnemies[static_cast<size_t>(i)];
            count += inBlock(e.col, e.row) ? 1 : 0;
        }
        for (int i = 1; i <= figureEnemyCount; ++i) {
            const FigureEnemy& e = figureEnemies[static_cast<size_t>(i)];
            count += inBlock(e.col, e.row) ? 1 : 0;
        }
        return count;
    }

    CampaignWorld() {
        game = std::make_unique<test::GameHarness>(dir.Path());
        game->InitGame();
        game->SetFrameRateResults();
        while (std::filesystem::exists(dir.File("map/mapa" + std::to_string(levels + 1) + ".map")))
            ++levels;
        for (int n = 1; n <= levels; ++n) {
            levelNumber = static_cast<int16_t>(n);
            ReadLevelMap();
            for (int col = 0; col <= 41; ++col) {
                for (int row = 0; row <= 11; ++row) {
                    const int score = Score(col, row);
                    if (score > things) {
                        things = score;
                        level = n;
                        viewCol = col;
                        viewRow = row;
                    }
                }
            }
        }
        if (level == 0) {
            std::fprintf(stderr, "no shipped levels in %s\n", dir.Path().c_str());
            std::exit(1);
        }
        levelNumber = static_cast<int16_t>(level);
        ReadLevelMap();
        // The camera puts the player in the sixth column and fifth row of the block, or holds
        // at the map's edges.
        playerCol = static_cast<int16_t>(viewCol == 0 ? 5 : viewCol == 41 ? 46 : viewCol + 5);
        playerRow = static_cast<int16_t>(viewRow == 0 ? 4 : viewRow == 11 ? 15 : viewRow + 4);
        playerOffsetX = 35.0;
        playerOffsetY = 40.0;
        // An exit or the goal under the player would end the level in the first frame.
        int32_t& under = mapItems(playerCol, playerRow);
        if (under == 997 || under == 900) under = 0;
        start = state;
        Frame();
        if (cameraCol != viewCol || cameraRow != viewRow) {
            std::fprintf(stderr, "the camera went to column %d row %d, not %d %d\n", cameraCol,
                         cameraRow, viewCol, viewRow);
            std::exit(1);
        }
        state = start;
    }
};

CampaignWorld& TheCampaign() {
    static CampaignWorld world;
    return world;
}

double g_campaignFilled = 0;
double g_campaignCopied = 0;

void BM_CampaignFrame(benchmark::State& st) {
    CampaignWorld& world = TheCampaign();
    RunFrames(st, world.start, g_campaignFilled, g_campaignCopied);
    st.counters["things_in_view"] = world.things;
}
BENCHMARK(BM_CampaignFrame)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The floor of a frame: the bytes its frames fill and copy, measured by the frame benchmark
// of the same run or, run on its own, from a few frames from `start`.
template <class Start>
void RunFrameFloor(benchmark::State& st, const Start& start, double& filledPerFrame,
                   double& copiedPerFrame) {
    if (filledPerFrame == 0) {
        state = start;
        auto& platform = dx::detail::State();
        const auto f0 = platform.bytesFilled, c0 = platform.bytesCopied;
        for (int i = 0; i < 10; ++i)
            Frame();
        filledPerFrame = static_cast<double>(platform.bytesFilled - f0) / 10.0;
        copiedPerFrame = static_cast<double>(platform.bytesCopied - c0) / 10.0;
    }
    const auto filled = static_cast<size_t>(filledPerFrame);
    const auto copied = static_cast<size_t>(copiedPerFrame);
    bench::RunMemoryFloor(st, filled, copied);
    st.counters["MiB_written"] = static_cast<double>(filled + copied) / (1024.0 * 1024.0);
}

void BM_CampaignMemoryFloor(benchmark::State& st) {
    RunFrameFloor(st, TheCampaign().start, g_campaignFilled, g_campaignCopied);
}
BENCHMARK(BM_CampaignMemoryFloor)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_MemoryFloor(benchmark::State& st) {
    RunFrameFloor(st, TheWorld().start, g_filled, g_copied);
}
BENCHMARK(BM_MemoryFloor)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
    const auto results = bench::RunAll(argc, argv);
    const auto frame = results.Get("BM_GameFrame");
    const auto floor = results.Get("BM_MemoryFloor");
    if (frame.ms > 0) {
        std::printf(
            "game frame: %.3f ms, %.0f fps, %.2f MiB written, floor %.3f ms, ratio %.2f\n",
            frame.ms, 1000.0 / frame.ms,
            frame.counters.count("MiB_written") != 0 ? frame.counters.at("MiB_written") : 0.0,
            floor.ms, floor.ms > 0 ? frame.ms / floor.ms : 0.0);
        bench::Summary("game frame", frame.ms, "ms", floor.ms > 0 ? frame.ms / floor.ms : -1,
                       "<= 2.0 x floor");
        bench::Summary("game frame rate", 1000.0 / frame.ms, "fps", -1, "-");
        bench::Summary("memory floor of the frame", floor.ms, "ms", -1, "-");
    }
    const auto campaign = results.Get("BM_CampaignFrame");
    const auto campaignFloor = results.Get("BM_CampaignMemoryFloor");
    if (campaign.ms > 0) {
        const CampaignWorld& world = TheCampaign();
        std::printf(
            "busiest shipped view: level %d of %d, camera column %d row %d, %d objects, stones, "
            "boards and enemies; frame %.3f ms, floor %.3f ms, ratio %.2f\n",
            world.level, world.levels, world.viewCol, world.viewRow, world.things, campaign.ms,
            campaignFloor.ms, campaignFloor.ms > 0 ? campaign.ms / campaignFloor.ms : 0.0);
        bench::Summary("game frame, busiest shipped view", campaign.ms, "ms",
                       campaignFloor.ms > 0 ? campaign.ms / campaignFloor.ms : -1,
                       "<= 1.5 x floor");
        bench::Summary("memory floor of that frame", campaignFloor.ms, "ms", -1, "-");
    }
    zorvik::ResetGlobals();
    return 0;
}
