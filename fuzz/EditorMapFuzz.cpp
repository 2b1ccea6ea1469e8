// Fuzz target: the editor's File > Open parser (ParseMapSet) on the three layer texts of one
// input. An open either takes the whole new map or leaves the map in memory as it was.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "FuzzSupport.h"
#include "editor/A_deklare.h"
#include "editor/MapFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zorvik::editor;
    const auto parts = zorvik::fuzz::SplitLayers(data, size);
    // A missing file never reaches the parser; fewer than three parts stand for it.
    if (parts.size() < 3) return 0;

    // A recognisable map before the open, to see that a failed open keeps it.
    for (int col = 1; col <= kLastCol; ++col) {
        for (int row = 1; row <= kLastRow; ++row) {
            mapTiles[col][row] = static_cast<int16_t>(col);
            mapSolid[col][row] = static_cast<int16_t>(row);
            mapItems[col][row] = static_cast<int16_t>(col * row);
        }
    }
    static MapLayer tiles;
    static MapLayer solid;
    static MapLayer items;
    std::memcpy(tiles, mapTiles, sizeof tiles);
    std::memcpy(solid, mapSolid, sizeof solid);
    std::memcpy(items, mapItems, sizeof items);

    const bool opened = ParseMapSet({parts[0], parts[1], parts[2]});
    if (!opened && (std::memcmp(tiles, mapTiles, sizeof tiles) != 0 ||
                    std::memcmp(solid, mapSolid, sizeof solid) != 0 ||
                    std::memcmp(items, mapItems, sizeof items) != 0)) {
        std::fprintf(stderr, "a failed open changed the map in memory\n");
        std::abort();
    }
    return 0;
}
