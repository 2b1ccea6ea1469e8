// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the game's map parser (ParseLevelMap) on the three layer texts of one input,
// checking afterwards that every table count stays inside its table and the map frame is solid.
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "A_deklarace.h"
#include "E_load.h"
#include "FuzzSupport.h"

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
    static const std::array<std::string, 3> names{"mapa1.map", "mapa1.map.1", "mapa1.map.2"};

    const auto parts = fuzz::SplitLayers(data, size);
    // A missing file never reaches the parser; fewer than three parts stand for it.
    if (parts.size() < 3) return 0;

    // The parser sets every count and cell it reads; the player keeps its cell without a start.
    playerCol = 0;
    playerRow = 0;
    bool loaded = true;
    try {
        ParseLevelMap({parts[0], parts[1], parts[2]}, names);
    } catch (const std::out_of_range&) {
        throw;  // a cell outside the map arrays is a fault, not a bad file
    } catch (const std::runtime_error&) {
        loaded = false;
    }
    Check(stoneCount >= 0 && stoneCount < static_cast<int>(stones.size()), "stone count");
    // Every housing counts, and several may share a link number (and so a record): the count
    // may pass the table, which the board code never reads beyond.
    Check(boardCount >= 0 && boardCount <= 18 * 50, "board count");
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
