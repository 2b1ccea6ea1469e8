// SPDX-License-Identifier: GPL-3.0-or-later
// Level load: ReadLevelMap of a level whose every cell holds a number (no intro card), against
// reading the same three files' bytes.
#include <fstream>
#include <string>

#include "A_deklarace.h"
#include "BenchSupport.h"
#include "E_load.h"
#include "GameHarness.h"

namespace {

using namespace zorvik;

test::TempGameDir& Dir() {
    static test::TempGameDir dir;
    static const bool written = [] {
        const bench::BusyLevel level = bench::MakeBusyLevel();
        dir.Write("map/mapa1.map", level.tiles);
        dir.Write("map/mapa1.map.1", level.solid);
        dir.Write("map/mapa1.map.2", level.items);
        return true;
    }();
    (void)written;
    return dir;
}

void BM_ReadLevelMap(benchmark::State& st) {
    test::GameHarness game(Dir().Path());
    levelNumber = 1;
    for (auto _ : st) {
        ReadLevelMap();
        benchmark::DoNotOptimize(mapTiles(25, 9));
    }
}
BENCHMARK(BM_ReadLevelMap)->Unit(benchmark::kMillisecond)->MinTime(1.0);

// The floor: only reading the three files.
void BM_ReadFilesOnly(benchmark::State& st) {
    const std::string base = Dir().File("map/mapa1.map");
    for (auto _ : st) {
        size_t total = 0;
        for (const std::string& path : {base, base + ".1", base + ".2"}) {
            std::ifstream in(path, std::ios::binary | std::ios::ate);
            std::string bytes(static_cast<size_t>(in.tellg()), '\0');
            in.seekg(0);
            in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            total += static_cast<size_t>(in.gcount());
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_ReadFilesOnly)->Unit(benchmark::kMillisecond)->MinTime(0.5);

}  // namespace

int main(int argc, char** argv) {
    const auto results = bench::RunAll(argc, argv);
    const double ms = results.Get("BM_ReadLevelMap").ms;
    const double floor = results.Get("BM_ReadFilesOnly").ms;
    std::printf("level map reading: %.3f ms, reading the files alone %.3f ms\n", ms, floor);
    bench::Summary("level map reading", ms, "ms", floor > 0 ? ms / floor : -1, "<= 1 ms");
    return 0;
}
