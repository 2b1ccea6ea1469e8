// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: from what main does (a host, clean globals, InitDirectX) to the first title-menu
// frame in the headless host, without the frame-rate test's three seconds (its results are set
// as a 60 Hz display leaves them) and without the intro wipe. Against reading the data files.
// With --peak-memory it instead starts up, plays 600 frames of a busy level and prints the
// process's peak resident memory.
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "A_deklarace.h"
#include "BenchSupport.h"
#include "C_mainloop.h"
#include "E_load.h"
#include "GameHarness.h"
#include "K_Menu.h"
#include "TestPaths.h"

namespace {

using namespace zorvik;

struct FirstFrame {};

void BM_StartupToTitle(benchmark::State& st) {
    for (auto _ : st) {
        const double begin = bench::ThreadCpuSeconds();
        auto game = std::make_unique<test::GameHarness>();
        dx::ShowCursor(false);
        game->InitGame();
        game->SetFrameRateResults();
        introShown = kTrue;
        game->Host().onFlip = [](dx::HeadlessHost&, const uint16_t*) { throw FirstFrame{}; };
        try {
            RunTitleMenu();
        } catch (const FirstFrame&) {
        }
        st.SetIterationTime(bench::ThreadCpuSeconds() - begin);
        game->Host().onFlip = nullptr;
    }
}
BENCHMARK(BM_StartupToTitle)->Unit(benchmark::kMillisecond)->UseManualTime()->MinTime(2.0);

// The floor: reading every file of the data folder once.
void BM_ReadDataFiles(benchmark::State& st) {
    for (auto _ : st) {
        size_t total = 0;
        for (const auto& entry : std::filesystem::directory_iterator(test::DistDir() + "/data")) {
            std::ifstream in(entry.path(), std::ios::binary);
            std::string bytes(entry.file_size(), '\0');
            in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            total += static_cast<size_t>(in.gcount());
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_ReadDataFiles)->Unit(benchmark::kMillisecond)->MinTime(0.5);

int PeakMemory() {
    test::TempGameDir dir;
    const bench::BusyLevel level = bench::MakeBusyLevel();
    dir.Write("map/mapa1.map", level.tiles);
    dir.Write("map/mapa1.map.1", level.solid);
    dir.Write("map/mapa1.map.2", level.items);
    {
        test::GameHarness game(dir.Path());
        game.InitGame();
        game.SetFrameRateResults();
        introShown = kTrue;
        levelNumber = 1;
        game.Press(57);  // Space answers the intro card
        LoadLevel();
        game.Release(57);
        const long start = game.Host().Frames();
        game.Host().onFlip = [start](dx::HeadlessHost& host, const uint16_t*) {
            if (host.Frames() - start >= 600) levelWon = kTrue;
        };
        RunLevelLoop();
        game.Host().onFlip = nullptr;
    }
    const double mib = bench::PeakMemoryMiB();
    std::printf("peak memory after start-up and 600 frames of a busy level: %.1f MiB\n", mib);
    bench::Summary("peak memory of the game", mib, "MiB", -1, "<= 64 MiB");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--peak-memory") == 0) return PeakMemory();
    const auto results = bench::RunAll(argc, argv);
    const double ms = results.Get("BM_StartupToTitle").ms;
    const double floor = results.Get("BM_ReadDataFiles").ms;
    std::printf("start-up to the first title frame: %.2f ms, reading the data files %.2f ms\n", ms,
                floor);
    bench::Summary("start-up to first title frame", ms, "ms", floor > 0 ? ms / floor : -1,
                   "<= 150 ms");
    return 0;
}
