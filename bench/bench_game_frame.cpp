// Game frame: background, world (boards, stones and enemies running), player and status line
// on a busy level with the camera in the middle, against a memset + memcpy of the same bytes.
#include <cstring>
#include <memory>
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

void BM_GameFrame(benchmark::State& st) {
    World& world = TheWorld();
    state = world.start;
    auto& platform = dx::detail::State();
    const auto filled0 = platform.bytesFilled;
    const auto copied0 = platform.bytesCopied;
    long frames = 0;
    for (auto _ : st) {
        Frame();
        // The enemies walk away over time; start again from the loaded level now and then.
        if (++frames % 600 == 0) {
            st.PauseTiming();
            state = world.start;
            st.ResumeTiming();
        }
    }
    g_filled = static_cast<double>(platform.bytesFilled - filled0) / static_cast<double>(frames);
    g_copied = static_cast<double>(platform.bytesCopied - copied0) / static_cast<double>(frames);
    st.counters["MiB_written"] = (g_filled + g_copied) / (1024.0 * 1024.0);
}
BENCHMARK(BM_GameFrame)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_MemoryFloor(benchmark::State& st) {
    if (g_filled == 0) {  // run on its own: take the sizes from a few frames
        World& world = TheWorld();
        state = world.start;
        auto& platform = dx::detail::State();
        const auto f0 = platform.bytesFilled, c0 = platform.bytesCopied;
        for (int i = 0; i < 10; ++i)
            Frame();
        g_filled = static_cast<double>(platform.bytesFilled - f0) / 10.0;
        g_copied = static_cast<double>(platform.bytesCopied - c0) / 10.0;
    }
    const auto filled = static_cast<size_t>(g_filled);
    const auto copied = static_cast<size_t>(g_copied);
    bench::RunMemoryFloor(st, filled, copied);
    st.counters["MiB_written"] = static_cast<double>(filled + copied) / (1024.0 * 1024.0);
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
    zorvik::ResetGlobals();
    return 0;
}
