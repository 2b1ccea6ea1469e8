// Fuzz target: the game's map reader (ReadLevelMap) on a set of three layer files, checking
// afterwards that every table count stays inside its table and the map frame is solid.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "A_deklarace.h"
#include "E_load.h"
#include "FuzzSupport.h"
#include "HeadlessHost.h"

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zorvik;
    static dx::HeadlessHost* host = [] {
        std::filesystem::create_directories(fuzz::ScratchDir() + "/map");
        auto* h = new dx::HeadlessHost(fuzz::ScratchDir());
        dx::SetHost(h);
        return h;
    }();
    (void)host;

    const std::string base = fuzz::ScratchDir() + "/map/mapa1.map";
    const std::string paths[3] = {base, base + ".1", base + ".2"};
    const auto parts = fuzz::SplitLayers(data, size);
    for (size_t i = 0; i < 3; ++i) {
        std::filesystem::remove(paths[i]);
        if (i < parts.size()) fuzz::WriteBytes(paths[i], parts[i]);
    }

    ResetGlobals();
    levelNumber = 1;
    bool loaded = true;
    try {
        ReadLevelMap();
    } catch (const std::out_of_range&) {
        throw;  // a cell outside the map arrays is a fault, not a bad file
    } catch (const std::runtime_error&) {
        loaded = false;
    }
    Check(stoneCount >= 0 && stoneCount < static_cast<int>(stones.size()), "stone count");
    Check(boardCount >= 0 && boardCount <= static_cast<int>(boards.size()), "board count");
    Check(flexEnemyCount >= 0 && flexEnemyCount < static_cast<int>(flexEnemies.size()),
          "flexible enemy count");
    Check(figureEnemyCount >= 0 && figureEnemyCount < static_cast<int>(figureEnemies.size()),
          "figure enemy count");
    if (loaded) {
        for (int col = 0; col <= 51; ++col)
            Check(mapSolid(col, 0) == 1 && mapSolid(col, 19) == 1, "solid frame rows");
        for (int row = 0; row <= 19; ++row)
            Check(mapSolid(0, row) == 1 && mapSolid(51, row) == 1, "solid frame columns");
        Check(playerCol >= 0 && playerCol <= 51 && playerRow >= 0 && playerRow <= 19,
              "player cell");
    }
    return 0;
}
